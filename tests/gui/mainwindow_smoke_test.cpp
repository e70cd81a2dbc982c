// The real main window, offscreen: every menu item and picture exists with its caption or
// tooltip and reaches its command.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QChartView>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>

#include "app/controls.h"
#include "chart/pricechart.h"
#include "chart/reliability.h"
#include "chartwindow.h"
#include "commandline.h"
#include "fiveday/dailydata.h"
#include "mainwindow.h"
#include "output/saveasform.h"
#include "qtapplication.h"
#include "qtplatform.h"
#include "repredict/recalcform.h"
#include "scenario/generated_history.h"
#include "scenario/scripted_platform.h"
#include "settings.h"
#include "textconversion.h"
#include "unit/tempfolder.h"
#include "watchlistwindow.h"

namespace aurelant {
namespace {

class MainWindowSmoke : public TempFolderTest {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    MainWindowSmoke() : model(globals, platform) {
        platform.folder = folder.string();
        QSettings("aurelant", "aurelant").clear();
        model.load();
        window = std::make_unique<MainWindow>(model);
    }

    // A history file of `count` records in the temporary folder, with a blank and a non-ASCII
    // letter in its name.
    static QString historyFile(const QString& name, std::size_t count) {
        const QString path = QDir::temp().filePath(QString("aurelant-smoke-%1 %2 é.csv")
                                                       .arg(QCoreApplication::applicationPid())
                                                       .arg(name));
        writeGeneratedHistory(path.toStdString(), count);
        return path;
    }

    std::string lastMessage() const { return platform.transcript.back(); }

    static QCandlestickSeries* candlesOf(QChart* chart) {
        for (QAbstractSeries* series : chart->series()) {
            if (auto* candles = qobject_cast<QCandlestickSeries*>(series)) {
                return candles;
            }
        }
        return nullptr;
    }

    template <typename Series>
    int seriesOf(QChart* chart) const {
        int count = 0;
        for (QAbstractSeries* series : chart->series()) {
            count += qobject_cast<Series*>(series) != nullptr ? 1 : 0;
        }
        return count;
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant model;
    std::unique_ptr<MainWindow> window;
};

// Copy, Cut and Paste are left to the screen's own keys.
const std::map<std::string, QKeySequence::StandardKey> kStandardKeys = {
    {"open", QKeySequence::Open},
    {"print", QKeySequence::Print},
    {"Exit", QKeySequence::Quit},
    {"about", QKeySequence::HelpContents},
};

void collectLeaves(const std::vector<MenuEntry>& entries, std::vector<MenuEntry>& leaves) {
    for (const MenuEntry& entry : entries) {
        if (entry.items.empty()) {
            leaves.push_back(entry);
        }
        collectLeaves(entry.items, leaves);
    }
}

TEST_F(MainWindowSmoke, EveryMenuItemExistsWithItsCaption) {
    std::vector<MenuEntry> leaves;
    collectLeaves(mainMenus(), leaves);
    EXPECT_EQ(leaves.size(), 30u);
    for (const MenuEntry& leaf : leaves) {
        auto* action = window->findChild<QAction*>(QString::fromStdString(leaf.name));
        ASSERT_NE(action, nullptr) << leaf.name;
        EXPECT_EQ(action->text().toStdString(), leaf.caption);
        const auto key = kStandardKeys.find(leaf.name);
        const QKeySequence expected = leaf.name == "importfile"    ? QKeySequence("Ctrl+I")
                                      : key == kStandardKeys.end() ? QKeySequence()
                                                                   : QKeySequence(key->second);
        EXPECT_EQ(action->shortcut(), expected) << leaf.name;
    }
    auto* save = window->findChild<QMenu*>("save");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->actions().size(), 4);
}

TEST_F(MainWindowSmoke, PicturesSitAtTheirPlacesWithTheirTooltips) {
    for (const PictureEntry& picture : toolbarPictures()) {
        auto* button = window->findChild<QToolButton*>(QString::fromStdString(picture.name));
        ASSERT_NE(button, nullptr) << picture.name;
        EXPECT_EQ(button->toolTip().toStdString(), picture.tooltip);
        EXPECT_EQ(button->x(), picture.left / 15);
        EXPECT_EQ(button->width(), picture.width / 15);
        EXPECT_FALSE(button->icon().isNull()) << picture.name;
    }
}

TEST_F(MainWindowSmoke, TheStartupStateIsDrawnAndCommandsAreReached) {
    auto* screen = window->findChild<QPlainTextEdit*>("maintext");
    EXPECT_EQ(window->windowTitle().toStdString(), "Aurelant's Prices V2.46");
    auto* label = window->findChild<QLabel*>("infolabel");
    EXPECT_EQ(label->text().toStdString(), std::string(26, ' ') + "AurelantsPrices");
    EXPECT_TRUE(label->font().italic());
    EXPECT_EQ(screen->toPlainText().toStdString(), "Data Panel");
    EXPECT_FALSE(window->findChild<QAction*>("recalc")->isEnabled());
    EXPECT_FALSE(window->findChild<QAction*>("strategy")->isEnabled());
    window->findChild<QAction*>("about")->trigger();
    EXPECT_TRUE(screen->toPlainText().startsWith("AURELANT'S PRICES - TODAY!"));
    EXPECT_EQ(screen->toPlainText().split('\n').size(), 58);
    for (const char* topic :
         {"Import a Price File", "Show Price Chart", "How Reliable Is It?", "Watchlist"}) {
        EXPECT_TRUE(screen->toPlainText().contains(topic)) << topic;
    }
    window->findChild<QAction*>("cls")->trigger();
    EXPECT_EQ(model.maintext.style.colour, (Rgb{128, 0, 128}));
}

// Started on a file, the program goes straight to it; the Tab key leaves the main screen, Ctrl+Tab
// types a TAB.
TEST_F(MainWindowSmoke, StartUpWithAFileAndTheTabKey) {
    const QString path = historyFile("start", 10);
    for (const QString& file : {QString(), path}) {
        platform.transcript.clear();
        Aurelant started(globals, platform);
        MainWindow startedWindow(started);
        startedWindow.start(file);
        EXPECT_EQ(std::any_of(platform.transcript.begin(), platform.transcript.end(),
                              [](const std::string& line) {
                                  return line.find("Welcome") != std::string::npos;
                              }),
                  file.isEmpty());
        EXPECT_EQ(started.globals.fileopen, !file.isEmpty());
    }
    window->show();
    QApplication::setActiveWindow(window.get());
    auto* screen = window->findChild<QPlainTextEdit*>("maintext");
    screen->setFocus();
    QTest::keyClick(screen, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(screen, Qt::Key_Tab);
    EXPECT_FALSE(screen->hasFocus());
    EXPECT_EQ(screen->toPlainText().toStdString(), "\tData Panel");
    QFile::remove(path);
}

TEST_F(MainWindowSmoke, UserEditsReachTheModelWithWindowsLineEnds) {
    auto* screen = window->findChild<QPlainTextEdit*>("maintext");
    QTextCursor typing = screen->textCursor();
    typing.select(QTextCursor::Document);
    typing.insertText("one\ntwo");  // as typing does, this marks the text as edited
    QTextCursor cursor = screen->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    screen->setTextCursor(cursor);
    window->runCommand("screencopy");  // any command first takes the user's edits
    EXPECT_EQ(model.maintext.text, "one\r\ntwo");
    EXPECT_EQ(model.maintext.selectionStart, 5u);
    EXPECT_EQ(model.maintext.selectionLength, 3u);
    EXPECT_EQ(platform.clipboard, "two");
    window->runCommand("cls");  // replaces what the user typed
    EXPECT_EQ(screen->toPlainText().toStdString(), "Data Panel");
}

TEST_F(MainWindowSmoke, HistoryFileCommandsDrawTheirResults) {
    const std::string path = historyFile("prix", 130).toStdString();
    auto* screen = window->findChild<QPlainTextEdit*>("maintext");
    auto* label = window->findChild<QLabel*>("infolabel");
    platform.fileAnswers = {path};
    window->findChild<QToolButton*>("OpenImage")->click();
    EXPECT_EQ(window->windowTitle().toStdString(), "Aurelant's Prices V2.46 - " + path);
    EXPECT_TRUE(screen->toPlainText().contains("130 records found\n\nDisplaying up to 120"));
    EXPECT_TRUE(screen->toPlainText().contains(" PRIX É.CSV\n"));
    EXPECT_EQ(label->text(), "Information Panel");  // a file in order: nothing to suggest
    window->findChild<QAction*>("redisplay")->trigger();
    EXPECT_EQ(screen->toPlainText().split('\n').size(), 131);
    QFile::remove(QString::fromStdString(path));
}

// The Qt platform shows each form as its dialog and returns when a press has hidden it.
TEST_F(MainWindowSmoke, QtPlatformShowsEachFormAsItsDialog) {
    DailyData panel(model);
    RecalcForm recalc(model);
    SaveAsForm saveas(globals);
    saveas.load();
    const struct {
        FormModel& form;
        const char* option;
        const char* button;
    } forms[] = {{panel, nullptr, "cancelcommand"},
                 {recalc, nullptr, "cancelcommand"},
                 {saveas, "csvoption", "proceedcommand"}};
    globals.movementmode = true;
    QtPlatform qt;
    for (const auto& [form, option, button] : forms) {
        QTimer::singleShot(0, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->objectName().toStdString(), form.name());
            if (option != nullptr) {
                shown->findChild<QRadioButton*>(option)->setChecked(true);
            }
            shown->findChild<QPushButton*>(button)->click();
        });
        qt.showModal(form);
        EXPECT_FALSE(form.visible());
    }
    EXPECT_FALSE(globals.movementmode);  // the panel's Cancel
    EXPECT_EQ(globals.savechoice, "csv");
}

// The price chart window opens from the Predict menu, follows the main window and saves the chart
// as a PNG or SVG picture. The pointer on a candle shows its prices; the keys zoom about the latest
// day, and move the view with a price axis that fits the candles in view.
TEST_F(MainWindowSmoke, TheChartWindowFollowsTheMainWindowAndSavesPictures) {
    const std::string prices = write("prices.csv", "");
    writeRandomWalkHistory(prices, 200);
    platform.fileAnswers = {prices};
    window->runCommand("open");
    // An Open far above the prices (asked about and confirmed): its levels stand clear of them.
    platform.formActions["dailydata"] = {{FormAction::Kind::Set, "day5opentext", "200"},
                                         {FormAction::Kind::Press, "predictcommand", ""}};
    platform.answers = {Answer::Yes};
    window->runCommand("predictmove");
    window->runCommand("chart");
    EXPECT_EQ(platform.transcript.back(), "chart window");
    window->showChart();
    auto* chartWindow = window->findChild<QWidget*>("chart");
    ASSERT_NE(chartWindow, nullptr);
    QChart* chart = chartWindow->findChild<QChartView*>("chartview")->chart();
    EXPECT_TRUE(chart->title().startsWith("prices.csv - Next trading day: "));
    ASSERT_EQ(seriesOf<QCandlestickSeries>(chart), 1);
    EXPECT_EQ(candlesOf(chart)->count(), 120);
    EXPECT_EQ(seriesOf<QLineSeries>(chart), 4);  // the Open and three levels

    const std::string png = (folder / "chart.png").string();
    const std::string svg = (folder / "chart.svg").string();
    platform.fileAnswers = {png, svg};
    chartWindow->findChild<QPushButton*>("export")->click();
    chartWindow->findChild<QPushButton*>("export")->click();
    chartWindow->findChild<QPushButton*>("printchart")->click();
    EXPECT_EQ(read(png).substr(0, 4), "\x89PNG");
    EXPECT_NE(read(svg).find("<svg"), std::string::npos);
    EXPECT_EQ(platform.transcript.back(), "print picture landscape");

    // The pointer moved onto the latest candle shows its tooltip.
    auto* view = chartWindow->findChild<QChartView*>("chartview");
    QCandlestickSeries* candles = candlesOf(chart);
    const QCandlestickSet* latest = candles->sets().back();
    const QPointF body = chart->mapToPosition(
        QPointF(latest->timestamp(), (latest->open() + latest->close()) / 2), candles);
    const QPoint onCandle =
        view->viewport()->mapTo(chartWindow, view->mapFromScene(chart->mapToScene(body)));
    QTest::mouseMove(chartWindow->windowHandle(), onCandle);
    PriceChart model;
    model.follow(this->model);
    EXPECT_EQ(QToolTip::text().toStdString(), model.candleTip(model.candles().back().date));

    QApplication::setActiveWindow(chartWindow);
    const auto candlesInView = [chart] { return candlesOf(chart)->sets(); };
    const auto priceAxis = [chart] {
        return qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).front());
    };
    const qreal latestDay = latest->timestamp();
    QTest::keyClick(chartWindow, Qt::Key_Plus);
    EXPECT_EQ(candlesInView().size(), 96);
    EXPECT_EQ(candlesInView().back()->timestamp(), latestDay);
    EXPECT_EQ(seriesOf<QLineSeries>(chart), 4);
    EXPECT_GT(priceAxis()->max(), 200);
    for (const Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Left}) {
        QTest::keyClick(chartWindow, key);
        EXPECT_EQ(seriesOf<QLineSeries>(chart), 0);
        double low = 1e9;
        double high = 0;
        for (const QCandlestickSet* set : candlesInView()) {
            low = std::min(low, set->low());
            high = std::max(high, set->high());
        }
        EXPECT_LE(priceAxis()->min(), low);
        EXPECT_GE(priceAxis()->max(), high);
        EXPECT_LT(priceAxis()->max() - priceAxis()->min(), 2 * (high - low));
    }
    QTest::keyClick(chartWindow, Qt::Key_End);
    EXPECT_EQ(seriesOf<QLineSeries>(chart), 4);
    QTest::keyClick(chartWindow, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(chartWindow->isVisible());

    window->runCommand("new");
    EXPECT_TRUE(chart->series().isEmpty());
    EXPECT_TRUE(chartWindow->findChild<QLabel*>("note")->text().startsWith("No file is open"));
}

// Predict > How Reliable Is It? says to predict first; after a prediction its window opens from
// the keyboard beside the main window, saves its table and picture, and Escape closes it.
TEST_F(MainWindowSmoke, TheReliabilityWindowOpensFromTheMenuAndSavesItsTable) {
    window->runCommand("reliable");
    EXPECT_NE(lastMessage().find("Predict first"), std::string::npos);
    const std::string prices = write("prices.csv", "");
    writeRandomWalkHistory(prices, 1000);
    platform.fileAnswers = {prices};
    window->runCommand("open");
    platform.answers = {Answer::Ok};
    window->runCommand("predictchange");
    // Alt+P opens the Predict menu; the Down key steps to this item, over the greyed ones.
    window->show();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    auto* predict = window->findChild<QMenu*>("predict");
    ASSERT_TRUE(predict->isVisible());
    for (int step = 0;
         step < 8 && predict->activeAction() != window->findChild<QAction*>("reliable"); ++step) {
        QTest::keyClick(predict, Qt::Key_Down);
    }
    QTest::keyClick(predict, Qt::Key_Return);
    EXPECT_EQ(platform.transcript.back(), "reliability window");
    window->showReliability();
    auto* reliable = window->findChild<QWidget*>("reliability");
    ASSERT_TRUE(reliable != nullptr && reliable->isVisible());

    ReliabilityReport report;
    report.follow(model);
    EXPECT_EQ(reliable->findChild<QLabel*>("verdict")->text().toStdString(), report.verdict());
    QChart* diagram = reliable->findChild<QChartView*>("diagram")->chart();
    // The diagonal, and an interval and a point for each stated probability.
    EXPECT_EQ(diagram->series().size(), 1 + 2 * static_cast<qsizetype>(report.points().size()));
    EXPECT_EQ(seriesOf<QLineSeries>(reliable->findChild<QChartView*>("recent")->chart()), 3);
    EXPECT_EQ(reliable->findChild<QTableWidget*>("years")->rowCount(),
              static_cast<int>(report.tableRows().size()));

    const std::string csv = (folder / "table.csv").string();
    const std::string png = (folder / "reliability.png").string();
    platform.fileAnswers = {csv, png};
    reliable->findChild<QPushButton*>("savetable")->click();
    reliable->findChild<QPushButton*>("export")->click();
    EXPECT_EQ(read(csv), report.tableCsv());
    EXPECT_EQ(read(png).substr(0, 4), "\x89PNG");
    QApplication::setActiveWindow(reliable);
    QTest::keyClick(reliable, Qt::Key_Escape);
    EXPECT_FALSE(reliable->isVisible());
}

// Where the window manager puts the side windows: beside the main window, narrowed to the room
// there, else over the main window's right half; and the chart stays in front after the dialog
// of its Save as Picture. Offscreen there is no window manager to ask.
TEST_F(MainWindowSmoke, SideWindowsOpenBesideTheMainWindowUnderAWindowManager) {
    if (QGuiApplication::platformName() == "offscreen") {
        GTEST_SKIP() << "no window manager offscreen";
    }
    const std::string prices = write("prices.csv", "");
    writeRandomWalkHistory(prices, 200);
    platform.fileAnswers = {prices};
    window->runCommand("open");
    const QRect screen = window->screen()->availableGeometry();
    const auto placed = [this](const QPoint& mainAt) {
        window->move(mainAt);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(300);  // the window manager's frame
        auto* chart = new ChartWindow(model, window.get());
        chart->showBeside(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(chart));
        QTest::qWait(300);
        return chart;
    };
    ChartWindow* beside = placed(screen.topLeft() + QPoint(0, 50));
    const QRect main = window->frameGeometry();
    EXPECT_NEAR(beside->frameGeometry().left(), main.right() + 1, 2);
    EXPECT_NEAR(beside->frameGeometry().top(), main.top(), 2);
    EXPECT_LE(beside->frameGeometry().right(), screen.right() + 8);  // a frame's border at most

    // Too wide a main window leaves no room on either side.
    window->resize(screen.width() - 600, window->height());
    ChartWindow* over = placed(screen.center() - window->rect().center());
    EXPECT_NEAR(over->frameGeometry().left(), window->frameGeometry().center().x(), 2);
    EXPECT_NEAR(over->frameGeometry().top(), window->frameGeometry().top(), 2);
    EXPECT_LE(over->frameGeometry().right(), screen.right() + 8);  // a frame's border at most

    platform.fileAnswers = {(folder / "chart.png").string()};
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    over->findChild<QPushButton*>("export")->click();
    EXPECT_TRUE(QTest::qWaitForWindowActive(over));

    // The pointer resting on the latest candle keeps its tooltip past the desktop's own time.
    auto* view = over->findChild<QChartView*>("chartview");
    QChart* chart = view->chart();
    const QCandlestickSet* latest = candlesOf(chart)->sets().back();
    const QPointF body = chart->mapToPosition(
        QPointF(latest->timestamp(), (latest->open() + latest->close()) / 2), candlesOf(chart));
    QCursor::setPos(view->viewport()->mapToGlobal(view->mapFromScene(chart->mapToScene(body))));
    QTest::qWait(1500);
    EXPECT_TRUE(QToolTip::text().startsWith("18-Jul-2000\nOpen "))
        << QToolTip::text().toStdString();

    // The watchlist opens over the right half too; Enter on a row opens its file in the main
    // window, which comes to the front.
    rememberValue("watchlist/folder", QString::fromStdString(folder.string()));
    window->showWatchlist();
    auto* watchlist = window->findChild<WatchlistWindow*>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(watchlist));
    QTest::qWait(300);
    EXPECT_NEAR(watchlist->frameGeometry().left(), window->frameGeometry().center().x(), 2);
    while (watchlist->busy()) {
        QTest::qWait(50);
    }
    auto* table = watchlist->findChild<QTableView*>();
    table->setCurrentIndex(table->model()->index(0, 0));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(window->windowTitle().endsWith("prices.csv"));
}

// The desktop's clipboard holds the screen's lines with its own line ends; a picture is no
// text.
TEST(QtClipboard, TextComesBackWithWindowsLineEndsAndAPictureIsNoText) {
    ensureQtApplication();
    QtPlatform platform;
    platform.setClipboardText("one\r\ntwo");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "one\ntwo");
    EXPECT_EQ(platform.clipboardText(), "one\r\ntwo");
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(platform.clipboardText(), std::nullopt);
}

void dropOn(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);  // makes the target the drop's
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

TEST_F(MainWindowSmoke, FilesOpenFromTheCommandLineADropAndTheRecentFilesMenu) {
    const QString first = historyFile("first", 10);
    const QString second = historyFile("second", 10);
    const std::string title = "Aurelant's Prices V2.46 - ";
    QDir::setCurrent(QDir::tempPath());
    window->openFile(QFileInfo(first).fileName());  // a relative argument shows its full path
    EXPECT_EQ(window->windowTitle().toStdString(), title + first.toStdString());
    EXPECT_TRUE(model.maintext.text.find("10 records found") != std::string::npos);

    dropOn(window->findChild<QPlainTextEdit*>("maintext")->viewport(),
           {QUrl::fromLocalFile(second)});
    EXPECT_EQ(window->windowTitle().toStdString(), title + second.toStdString());
    for (const QList<QUrl>& refused :
         {QList<QUrl>{QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)},
          QList<QUrl>{QUrl("https://example.org/prices.csv")}}) {
        platform.transcript.clear();
        dropOn(window.get(), refused);
        EXPECT_TRUE(lastMessage().find("Drop a single history file") != std::string::npos);
        EXPECT_EQ(window->windowTitle().toStdString(), title + second.toStdString());
    }

    window->openFile(first + ".missing");  // the same message as through the dialog
    EXPECT_TRUE(lastMessage().find("Error Number: 2  Error is: ") != std::string::npos);
    EXPECT_EQ(window->windowTitle().toStdString(), "");

    QFile::remove(second);
    // Another running copy opened a file meanwhile: its list is kept.
    QSettings("aurelant", "aurelant")
        .setValue("recentFiles", QStringList{"/other/copy.csv", second, first});
    auto* recent = window->findChild<QMenu*>("recentfiles");
    emit recent->aboutToShow();
    const QList<QAction*> items = recent->actions();
    ASSERT_EQ(items.size(), 5);  // newest first, a separator, Clear Recent Files
    EXPECT_TRUE(items[1]->text().endsWith(" second é.csv"));
    EXPECT_FALSE(items[1]->isEnabled());  // a file that has gone is greyed out
    items[2]->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), title + first.toStdString());
    EXPECT_EQ(QSettings("aurelant", "aurelant").value("recentFiles").toStringList().mid(0, 2),
              (QStringList{first, "/other/copy.csv"}));
    items[4]->trigger();
    EXPECT_FALSE(recent->menuAction()->isEnabled());
    QFile::remove(first);
}

TEST_F(MainWindowSmoke, TheWindowGrowsFromTheLayoutsSizeAndRemembersIt) {
    const QSize layout(792, 511);
    auto* central = window->centralWidget();
    auto* screen = window->findChild<QPlainTextEdit*>("maintext");
    auto* label = window->findChild<QLabel*>("infolabel");
    window->showAtRememberedPlace();
    EXPECT_EQ(central->size(), layout);
    window->resize(window->size() + QSize(200, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(screen->geometry(), QRect(8, 136, 769 + 200, 361 + 100));
    EXPECT_EQ(label->geometry(), QRect(8, 48, 769 + 200, 81));
    EXPECT_EQ(window->findChild<QFrame*>("MenuPics")->geometry(), QRect(8, 8, 633, 33));
    const QSize grown = window->size();
    window->close();  // remembers the size

    Aurelant other(globals, platform);
    MainWindow again(other);
    again.showAtRememberedPlace();
    EXPECT_EQ(again.size(), grown);
    again.resize(100, 100);
    EXPECT_EQ(again.centralWidget()->size(), layout);
}

TEST_F(MainWindowSmoke, UnreadableSettingsOrAnotherVersionsAreIgnored) {
    const QString file = QSettings("aurelant", "aurelant").fileName();
    QDir().mkpath(QFileInfo(file).path());
    for (const QByteArray& stored :
         {QByteArray("[General]\nversion=1\ngeometry=garbage\nrecentFiles=relative.csv\n"),
          QByteArray("[General]\nversion=99\nrecentFiles=/old/prices.csv\n"),
          QByteArray("\xff\xfe[[General\n=\x01\n")}) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(stored);
        out.close();
        MainWindow fresh(model);
        fresh.showAtRememberedPlace();
        EXPECT_EQ(fresh.centralWidget()->size(), QSize(792, 511)) << stored.constData();
        EXPECT_FALSE(fresh.findChild<QMenu*>("recentfiles")->menuAction()->isEnabled());
    }
}

TEST(CommandLine, OptionsFilesAndMistakes) {
    using Action = CommandLine::Action;
    const struct {
        QStringList arguments;
        Action action;
        QString file;
    } cases[] = {
        {{}, Action::Run, ""},
        {{"my prices.csv"}, Action::Run, "my prices.csv"},
        {{"--", "-prices.csv"}, Action::Run, "-prices.csv"},
        {{"--version"}, Action::Version, ""},
        {{"--bogus", "-h"}, Action::Help, ""},  // help whatever else is wrong
        {{"--bogus"}, Action::Mistake, ""},
        {{"a.csv", "b.csv"}, Action::Mistake, "a.csv"},
    };
    for (const auto& [arguments, action, file] : cases) {
        const CommandLine line = parseCommandLine(QStringList{"aurelant"} + arguments);
        EXPECT_EQ(line.action, action) << arguments.join(' ').toStdString();
        EXPECT_EQ(line.file, file);
    }
}

// Name filters match either case; offsets count CR LF as two in the model and one on screen.
TEST(TextConversion, FiltersAndOffsets) {
    const QStringList filters =
        qtNameFilters("Comma Separated Value Files(*.CSV)|*.csv|All Files (*.*)|*.*");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0].toStdString(), "Comma Separated Value Files(*.CSV) (*.csv *.CSV)");
    EXPECT_EQ(filters[1].toStdString(), "All Files (*.*) (*)");
    const std::string model = "ab\r\ncd\r\ne";
    EXPECT_EQ(toDisplayText(model).toStdString(), "ab\ncd\ne");
    EXPECT_EQ(toModelText("ab\ncd"), "ab\r\ncd");
    EXPECT_EQ(toModelOffset(model, 3), 4u);
    EXPECT_EQ(toModelOffset(model, 6), 8u);
    EXPECT_EQ(toModelOffset("\xc3\xb6\xf0\x9f\x93\x88x", 3), 6u);  // two bytes, then four
}

}  // namespace
}  // namespace aurelant
