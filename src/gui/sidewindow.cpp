#include "sidewindow.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "settings.h"

namespace aurelant {

SideWindow::SideWindow(QWidget& window, QString key, QSize size)
    : QObject(&window), window_(window), key_(std::move(key)), size_(size) {
    auto* close = new QAction(&window);
    close->setObjectName("closewindow");
    close->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, &window, &QWidget::close);
    window.addAction(close);
    window.installEventFilter(this);
    // Exit ends the program without closing this window.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (window_.isVisible()) {
            remember();
        }
    });
}

void SideWindow::show(const QWidget* main) {
    if (!placed_) {
        placed_ = true;
        const QByteArray geometry = rememberedValue(key_).toByteArray();
        if (geometry.isEmpty() || !window_.restoreGeometry(geometry)) {
            placeBeside(main);
        }
    }
    window_.show();
    window_.raise();
    window_.activateWindow();
}

// To the right of the main window, else to its left, narrowed to the room there down to half its
// width or its least width; where neither side has that room, over the main window's right half,
// so that the main window's menus and toolbar stay in view.
void SideWindow::placeBeside(const QWidget* main) {
    const QScreen* screen = main != nullptr ? main->screen() : QGuiApplication::primaryScreen();
    const QRect free = screen->availableGeometry();
    window_.resize(size_.boundedTo(free.size()));
    if (main == nullptr || !main->isVisible()) {
        return;
    }
    const QRect beside = main->frameGeometry();
    // A window cannot be narrower than its least width: narrowed further it would reach over the
    // main window or past the screen's edge.
    const int least = std::max(window_.width() / 2, window_.minimumSizeHint().width());
    const int rightRoom = free.right() - beside.right();
    const int leftRoom = beside.left() - free.left();
    int left = 0;
    int width = 0;
    if (rightRoom >= least) {
        left = beside.right() + 1;
        width = std::min(window_.width(), rightRoom);
    } else if (leftRoom >= least) {
        width = std::min(window_.width(), leftRoom);
        left = beside.left() - width;
    } else {
        left = std::clamp(beside.center().x(), free.left(), free.right() + 1 - least);
        width = std::min(window_.width(), free.right() + 1 - left);
    }
    const int top = std::clamp(beside.top(), free.top(),
                               std::max(free.top(), free.bottom() - window_.height()));
    window_.resize(width, window_.height());
    window_.move(left, top);
}

bool SideWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) {
        remember();
    }
    return QObject::eventFilter(watched, event);
}

void SideWindow::remember() {
    rememberValue(key_, window_.saveGeometry());
}

QPushButton* addButton(QWidget& window, QBoxLayout& row, const char* name, const QString& caption,
                       const std::function<void()>& action) {
    auto* button = new QPushButton(caption, &window);
    button->setObjectName(name);
    QObject::connect(button, &QPushButton::clicked, &window, action);
    row.addWidget(button);
    return button;
}

}  // namespace aurelant
