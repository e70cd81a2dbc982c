#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

#include "app/controls.h"
#include "chartwindow.h"
#include "textconversion.h"

// Resources of a static library are registered by name, from the global namespace.
static void registerIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace aurelant {
namespace {

// Layout in twips; 15 twips make one pixel.
constexpr int pixels(int twips) {
    return twips / 15;
}

QColor qtColour(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont windowFont(const TextStyle& style) {
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(style.pointSize);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

void applyStyle(QWidget* widget, const TextStyle& style, const Rgb& background) {
    widget->setFont(windowFont(style));
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, qtColour(style.colour));
    palette.setColor(QPalette::WindowText, qtColour(style.colour));
    palette.setColor(QPalette::Base, qtColour(background));
    palette.setColor(QPalette::Window, qtColour(background));
    widget->setPalette(palette);
}

constexpr Rgb kStripBackground{192, 192, 255};
constexpr Rgb kLabelBackground{255, 224, 192};
constexpr Rgb kScreenBackground{192, 255, 192};

}  // namespace

MainWindow::MainWindow(Aurelant& model) : model_(model) {
    registerIcons();
    setObjectName("Aurelant");
    setWindowIcon(QIcon(":/icons/app.svg"));

    auto* central = new QWidget(this);
    central->setFixedSize(pixels(11880), pixels(7665));
    setCentralWidget(central);

    buildToolbar(central);

    infolabel_ = new QLabel(central);
    infolabel_->setObjectName("infolabel");
    infolabel_->setGeometry(pixels(120), pixels(720), pixels(11535), pixels(1215));
    infolabel_->setFrameShape(QFrame::Box);
    infolabel_->setWordWrap(true);
    infolabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infolabel_->setAutoFillBackground(true);

    maintext_ = new QPlainTextEdit(central);
    maintext_->setObjectName("maintext");
    maintext_->setGeometry(pixels(120), pixels(2040), pixels(11535), pixels(5415));
    maintext_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    maintext_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
}

void MainWindow::buildMenus() {
    for (const MenuEntry& entry : mainMenus()) {
        if (entry.items.empty()) {
            QAction* action =
                QMainWindow::menuBar()->addAction(QString::fromStdString(entry.caption));
            action->setObjectName(QString::fromStdString(entry.name));
            connect(action, &QAction::triggered, this,
                    [this, name = entry.name] { runCommand(name); });
            actions_[entry.name] = action;
            continue;
        }
        QMenu* menu = QMainWindow::menuBar()->addMenu(QString::fromStdString(entry.caption));
        menu->setObjectName(QString::fromStdString(entry.name));
        for (const MenuEntry& item : entry.items) {
            QMenu* target = menu;
            if (!item.items.empty()) {
                target = menu->addMenu(QString::fromStdString(item.caption));
                target->setObjectName(QString::fromStdString(item.name));
            }
            const std::vector<MenuEntry> leaves =
                item.items.empty() ? std::vector<MenuEntry>{item} : item.items;
            for (const MenuEntry& leaf : leaves) {
                QAction* action = target->addAction(QString::fromStdString(leaf.caption));
                action->setObjectName(QString::fromStdString(leaf.name));
                connect(action, &QAction::triggered, this,
                        [this, name = leaf.name] { runCommand(name); });
                actions_[leaf.name] = action;
            }
        }
    }
}

void MainWindow::buildToolbar(QWidget* central) {
    toolbarStrip_ = new QFrame(central);
    toolbarStrip_->setObjectName("MenuPics");
    toolbarStrip_->setGeometry(pixels(120), pixels(120), pixels(9495), pixels(495));
    toolbarStrip_->setAutoFillBackground(true);
    applyStyle(toolbarStrip_, {}, kStripBackground);
    for (const PictureEntry& picture : toolbarPictures()) {
        auto* button = new QToolButton(toolbarStrip_);
        button->setObjectName(QString::fromStdString(picture.name));
        button->setGeometry(pixels(picture.left), 0, pixels(picture.width), pixels(picture.height));
        button->setToolTip(QString::fromStdString(picture.tooltip));
        button->setAutoRaise(true);
        button->setIcon(QIcon(":/icons/" + QString::fromStdString(picture.icon)));
        button->setIconSize(picture.stretched ? button->size() : QSize(32, 32));
        connect(button, &QToolButton::clicked, this,
                [this, name = picture.name] { runCommand(name); });
    }
}

void MainWindow::readUserEdits() {
    // Only a real edit replaces the model's text, with its own line ends.
    if (maintext_->document()->isModified()) {
        shownText_ = toModelText(maintext_->toPlainText());
        model_.maintext.text = shownText_;
        maintext_->document()->setModified(false);
    }
    const QTextCursor cursor = maintext_->textCursor();
    const std::string& text = model_.maintext.text;
    const std::size_t start = toModelOffset(text, cursor.selectionStart());
    model_.maintext.selectionStart = start;
    model_.maintext.selectionLength = toModelOffset(text, cursor.selectionEnd()) - start;
}

void MainWindow::runCommand(const std::string& name) {
    readUserEdits();
    model_.click(name);
    refresh();
    if (model_.exitRequested) {
        QApplication::exit(0);
    }
}

void MainWindow::refresh() {
    setWindowTitle(QString::fromStdString(model_.caption));
    applyStyle(infolabel_, model_.infolabel.style, kLabelBackground);
    infolabel_->setText(QString::fromStdString(model_.infolabel.caption));
    applyStyle(maintext_, model_.maintext.style, kScreenBackground);
    if (model_.maintext.text != shownText_) {
        shownText_ = model_.maintext.text;
        maintext_->setPlainText(toDisplayText(shownText_));
        maintext_->document()->setModified(false);
    }
    actions_.at("recalc")->setEnabled(model_.recalcEnabled);
    actions_.at("strategy")->setEnabled(model_.strategyEnabled);
    actions_.at("chart")->setEnabled(model_.chartEnabled());
    if (chart_ != nullptr) {
        chart_->follow();
    }
}

void MainWindow::showChart() {
    if (chart_ == nullptr) {
        chart_ = new ChartWindow(model_, this);
    }
    chart_->show();
    chart_->raise();
    chart_->activateWindow();
}

}  // namespace aurelant
