#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

#include "app/controls.h"
#include "chartwindow.h"
#include "pricefile/opencommand.h"
#include "qtplatform.h"
#include "reliabilitywindow.h"
#include "settings.h"
#include "textconversion.h"
#include "watchlistwindow.h"

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

// The layout's size is the window's smallest; the label and the screen take what is added.
constexpr QSize kLayoutSize(pixels(11880), pixels(7665));
constexpr QRect kLabelPlace(pixels(120), pixels(720), pixels(11535), pixels(1215));
constexpr QRect kScreenPlace(pixels(120), pixels(2040), pixels(11535), pixels(5415));

// The desktop's usual keys; Copy, Cut and Paste keep the screen's own.
constexpr std::pair<const char*, QKeySequence::StandardKey> kStandardKeys[] = {
    {"open", QKeySequence::Open},
    {"print", QKeySequence::Print},
    {"Exit", QKeySequence::Quit},
    {"about", QKeySequence::HelpContents},
};

RecentFiles rememberedFiles() {
    return RecentFiles(rememberedValue("recentFiles").toStringList());
}

}  // namespace

MainWindow::MainWindow(Aurelant& model) : model_(model) {
    registerIcons();
    setObjectName("Aurelant");
    setWindowIcon(QIcon(":/icons/app.svg"));
    setAcceptDrops(true);

    central_ = new QWidget(this);
    central_->setMinimumSize(kLayoutSize);
    setCentralWidget(central_);

    buildToolbar(central_);

    infolabel_ = new QLabel(central_);
    infolabel_->setObjectName("infolabel");
    infolabel_->setGeometry(kLabelPlace);
    infolabel_->setFrameShape(QFrame::Box);
    infolabel_->setWordWrap(true);
    infolabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infolabel_->setAutoFillBackground(true);

    maintext_ = new QPlainTextEdit(central_);
    maintext_->setObjectName("maintext");
    maintext_->setGeometry(kScreenPlace);
    maintext_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    maintext_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    maintext_->viewport()->installEventFilter(this);  // files dropped on the screen open too
    // Tab moves on, as in other panes that are mostly read; Ctrl+Tab types a TAB.
    maintext_->setTabChangesFocus(true);
    maintext_->installEventFilter(this);

    central_->installEventFilter(this);  // the label and the screen grow with the window

    buildMenus();
    for (const auto& [name, key] : kStandardKeys) {
        actions_.at(name)->setShortcut(key);
    }
    actions_.at("importfile")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    buildRecentFilesMenu();
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

void MainWindow::start(const QString& file) {
    model_.load(file.isEmpty() ? Welcome::Show : Welcome::Skip);
    refresh();
    showAtRememberedPlace();
    if (!file.isEmpty()) {
        openFile(file);
    }
}

void MainWindow::buildRecentFilesMenu() {
    recentMenu_ = menuBar()->findChild<QMenu*>("File")->addMenu("Recent &Files");
    recentMenu_->setObjectName("recentfiles");
    recentMenu_->menuAction()->setEnabled(!rememberedFiles().paths().isEmpty());
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentFilesMenu);
}

// The list as the settings hold it now: another running copy may have opened files meanwhile.
void MainWindow::fillRecentFilesMenu() {
    rememberedFiles().fillMenu(*recentMenu_, [this](const QString& path) { openFile(path); });
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction("&Clear Recent Files");
    clear->setObjectName("clearrecentfiles");
    connect(clear, &QAction::triggered, this, [this] {
        rememberValue("recentFiles", QStringList());
        recentMenu_->menuAction()->setEnabled(false);
    });
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
    afterCommand();
    if (model_.exitRequested) {
        rememberValue("geometry", saveGeometry());
        QApplication::exit(0);
    }
}

void MainWindow::openFile(const QString& path) {
    // The caption shows the file's full path, as the Open dialog gives it.
    openHistoryFileAt(model_, QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toStdString());
    afterCommand();
}

void MainWindow::afterCommand() {
    refresh();
    rememberRecentFile();
}

// Most commands leave the same file open: the settings are written only when it changes. The
// list is read again first, so that files another running copy added stay in it.
void MainWindow::rememberRecentFile() {
    const QString current = QString::fromStdString(model_.globals.currentfile);
    if (!model_.globals.fileopen || current == rememberedFile_) {
        return;
    }
    RecentFiles files = rememberedFiles();
    files.add(current);
    rememberValue("recentFiles", files.paths());
    rememberedFile_ = current;
    recentMenu_->menuAction()->setEnabled(true);
}

void MainWindow::showAtRememberedPlace() {
    const QByteArray geometry = rememberedValue("geometry").toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        resize(minimumSizeHint());
        move(screen()->availableGeometry().center() - rect().center());
    }
    show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    rememberValue("geometry", saveGeometry());
    event->accept();
}

void MainWindow::placeGrowingControls() {
    const QSize added = central_->size() - kLayoutSize;
    infolabel_->resize(kLabelPlace.width() + added.width(), kLabelPlace.height());
    maintext_->resize(kScreenPlace.size() + added);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == central_ && event->type() == QEvent::Resize) {
        placeGrowingControls();
    }
    if (watched == maintext_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            maintext_->insertPlainText("\t");
            return true;
        }
    }
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                      event->type() == QEvent::Drop;
    if (watched == maintext_->viewport() && drag) {
        return takeFileDrop(event);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    takeFileDrop(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    takeFileDrop(event);
}

// A drop that carries addresses is taken as a file to open; other drops (text moved on the
// screen) are left to the screen.
bool MainWindow::takeFileDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);  // so are drag-enter and drag-move events
    if (!drop->mimeData()->hasUrls()) {
        return false;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (urls.size() == 1 && urls.front().isLocalFile()) {
            openFile(urls.front().toLocalFile());
        } else {
            model_.showMessage(
                "Drop a single history file from a folder of this computer to open it.");
        }
    }
    return true;
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
    if (reliability_ != nullptr) {
        reliability_->follow();
    }
}

void MainWindow::showChart() {
    if (chart_ == nullptr) {
        chart_ = new ChartWindow(model_, this);
    }
    chart_->showBeside(this);
}

void MainWindow::showReliability() {
    if (reliability_ == nullptr) {
        reliability_ = new ReliabilityWindow(model_, this);
    }
    reliability_->showBeside(this);
}

void MainWindow::showWatchlist() {
    if (watchlist_ == nullptr) {
        // The file opened from the watchlist is read next, in front.
        watchlist_ = new WatchlistWindow(
            [this](const QString& path) {
                openFile(path);
                raise();
                activateWindow();
            },
            this);
        watchlist_->setOutputCheck(
            [this](const std::string& path) { return model_.refusesAsOutput(path); });
    }
    watchlist_->showBeside(this);
    watchlist_->start();
}

void MainWindow::connectPlatform(QtPlatform& platform) {
    platform.setParentWidget(this);
    platform.setRedraw([this] { refresh(); });
    platform.setChartOpener([this] { showChart(); });
    platform.setWatchlistOpener([this] { showWatchlist(); });
    platform.setReliabilityOpener([this] { showReliability(); });
    platform.setOutputCheck(
        [this](const std::string& path) { return model_.refusesAsOutput(path); });
}

}  // namespace aurelant
