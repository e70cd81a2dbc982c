#include "viewerwindow.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

// Resources of a static library are registered by name, from the global namespace.
static void registerViewerPages() {
    Q_INIT_RESOURCE(viewer);
}

namespace aurelant {
namespace {

constexpr int kTimerIntervalMs = 5;
constexpr const char* kHolderCaption = "Access Website";
constexpr QSize kReadableSize(800, 600);

QStyle::StandardPixmap toolbarIcon(const std::string& key) {
    static const std::pair<const char*, QStyle::StandardPixmap> icons[] = {
        {"Back", QStyle::SP_ArrowBack},   {"Forward", QStyle::SP_ArrowForward},
        {"Stop", QStyle::SP_BrowserStop}, {"Refresh", QStyle::SP_BrowserReload},
        {"Home", QStyle::SP_DirHomeIcon}, {"Search", QStyle::SP_FileDialogContentsView},
    };
    for (const auto& [name, icon] : icons) {
        if (key == name) {
            return icon;
        }
    }
    return QStyle::SP_FileIcon;
}

}  // namespace

ViewerWindow::ViewerWindow(std::string& vieweraddress, QWidget* parent)
    : QWidget(parent, Qt::Window), display_(new QTextBrowser), engine_(display_), model_(engine_) {
    registerViewerPages();
    setObjectName("webholder");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* browser = new QWidget(this);
    browser->setObjectName("frmBrowser");
    auto* layout = new QVBoxLayout(browser);
    layout->setContentsMargins(0, 0, 0, 0);
    buildToolbar(browser);

    auto* strip = new QWidget(browser);
    strip->setObjectName("picAddress");
    auto* stripLayout = new QVBoxLayout(strip);
    auto* label = new QLabel("&Address:", strip);
    label->setObjectName("lblAddress");
    address_ = new QComboBox(strip);
    address_->setObjectName("cboAddress");
    address_->setEditable(true);
    address_->setInsertPolicy(QComboBox::NoInsert);
    address_->lineEdit()->installEventFilter(this);
    label->setBuddy(address_);
    stripLayout->addWidget(label);
    stripLayout->addWidget(address_);
    layout->addWidget(strip);

    display_->setObjectName("brwWebBrowser");
    display_->setParent(browser);
    layout->addWidget(display_, 1);

    auto* holderLayout = new QVBoxLayout(this);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    holderLayout->addWidget(browser);
    side_ = new SideWindow(*this, "viewerGeometry", kReadableSize);

    timer_.setObjectName("timTimer");
    timer_.setInterval(kTimerIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        model_.timTimer_Timer();
        showCaptionAndTimer();  // the address box keeps what the user is typing
    });
    connect(address_, &QComboBox::activated, this, [this](int index) {
        model_.addressText = address_->itemText(index).toStdString();
        model_.cboAddress_Click();
        refresh();
    });
    connect(display_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
            display_->scrollToAnchor(link.fragment());
            return;
        }
        showAddress(engine_.linkAddress(link));
    });
    engine_.onPageReached = [this](const std::string& address) {
        model_.brwWebBrowser_NavigateComplete(address);
        refresh();
    };
    engine_.onLoadEnded = [this] {
        model_.brwWebBrowser_DownloadComplete();
        refresh();
    };

    model_.load(vieweraddress);
    refresh();
}

ViewerWindow::~ViewerWindow() {
    engine_.onPageReached = nullptr;  // the model goes before the engine
    engine_.onLoadEnded = nullptr;
    engine_.stop();
}

void ViewerWindow::buildToolbar(QWidget* browser) {
    auto* toolbar = new QToolBar(browser);
    toolbar->setObjectName("tbToolBar");
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const char* key : FrmBrowser::kToolbarKeys) {
        QAction* action = toolbar->addAction(style()->standardIcon(toolbarIcon(key)), key);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] {
            model_.tbToolBar_ButtonClick(key);
            refresh();
        });
    }
    browser->layout()->addWidget(toolbar);
}

void ViewerWindow::showAddress(const std::string& address) {
    model_.showAddress(address);
    refresh();
    showBeside(parentWidget());
}

void ViewerWindow::showBeside(const QWidget* main) {
    side_->show(main);
}

// Enter in the address box navigates, whether or not the text is in the list.
bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            model_.addressText = address_->currentText().toStdString();
            model_.cboAddress_KeyPress(FrmBrowser::kEnterKey);
            refresh();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ViewerWindow::refresh() {
    address_->blockSignals(true);
    address_->clear();
    for (const std::string& entry : model_.addressList) {
        address_->addItem(QString::fromStdString(entry));
    }
    address_->setEditText(QString::fromStdString(model_.addressText));
    address_->blockSignals(false);
    showCaptionAndTimer();
}

void ViewerWindow::showCaptionAndTimer() {
    const std::string caption = model_.caption.empty()
                                    ? std::string(kHolderCaption)
                                    : std::string(kHolderCaption) + " - " + model_.caption;
    setWindowTitle(QString::fromStdString(caption));
    if (model_.timerEnabled && !timer_.isActive()) {
        timer_.start();
    } else if (!model_.timerEnabled) {
        timer_.stop();
    }
}

}  // namespace aurelant
