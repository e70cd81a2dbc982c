// The watchlist window, offscreen, on a folder of two price files and a refused one: the
// predictions come from the background, and the table sorts, filters, takes an Open and opens
// a file on a double-click or Enter.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "qtapplication.h"
#include "quotes/remembered.h"
#include "quotes/replayserver.h"
#include "scenario/generated_history.h"
#include "settings.h"
#include "unit/tempfolder.h"
#include "watchlistwindow.h"

namespace aurelant {
namespace {

class WatchlistWindowTest : public TempFolderTest {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    // Lets the window work until its predictions are done; false after 20 s.
    static bool finished(const WatchlistWindow& window) {
        QElapsedTimer clock;
        clock.start();
        while (window.busy() && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QTest::qWait(200);  // the table's gathered redraw
        return !window.busy();
    }
    // Lets the window work until its updates and the predictions after them are done.
    static bool updated(const WatchlistWindow& window) {
        QElapsedTimer clock;
        clock.start();
        while (window.updating() && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return !window.updating() && finished(window);
    }
    // Types `open` into the top row's Open cell; a question about it is answered `answer`, and
    // its text returned.
    static QString typeOpen(QTableView& view, const QString& open,
                            QMessageBox::StandardButton answer) {
        view.edit(view.model()->index(0, static_cast<int>(WatchColumn::Open)));
        auto* editor = view.viewport()->findChild<QLineEdit*>();
        EXPECT_NE(editor, nullptr);
        QString question;
        QTimer answering;
        QObject::connect(&answering, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answering.stop();
                question = box->text();
                QTest::mouseClick(box->button(answer), Qt::LeftButton);
            }
        });
        answering.start(10);
        QTest::keyClicks(editor, open);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(100);  // the question comes once the editor has closed
        return question;
    }
    static std::vector<std::string> column(const QTableView& view, WatchColumn which) {
        std::vector<std::string> cells;
        for (int row = 0; row < view.model()->rowCount(); ++row) {
            const QModelIndex index = view.model()->index(row, static_cast<int>(which));
            cells.push_back(index.data().toString().toStdString());
        }
        return cells;
    }
};

TEST_F(WatchlistWindowTest, PredictsAFolderInTheBackgroundSortsFiltersTakesAnOpenAndOpensAFile) {
    writeRandomWalkHistory((folder / "x.csv").string(), 40);   // UP 60 %, confident
    writeRandomWalkHistory((folder / "b.csv").string(), 100);  // DOWN 53 %
    write("notes.txt", "a few words\n");
    QStringList opened;
    WatchlistWindow window([&opened](const QString& path) { opened << path; }, nullptr);
    window.show();
    // Cancelled at once and started again before any job is back: every file is still predicted.
    window.loadFolder(QString::fromStdString(folder.string()));
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == "Cancel") {
            button->click();
        }
    }
    window.refresh();
    ASSERT_TRUE(finished(window));
    auto* view = window.findChild<QTableView*>();
    using Names = std::vector<std::string>;
    EXPECT_EQ(column(*view, WatchColumn::Name), (Names{"x.csv", "b.csv", "notes.txt"}));
    EXPECT_EQ(column(*view, WatchColumn::Probability), (Names{"60", "53", ""}));
    EXPECT_EQ(column(*view, WatchColumn::Remark)[2],
              "the file does not appear to contain valid OHLC data");

    // The current row stays with its file when a header click sorts by name.
    view->setCurrentIndex(view->model()->index(0, 0));
    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(column(*view, WatchColumn::Name), (Names{"b.csv", "notes.txt", "x.csv"}));
    EXPECT_EQ(view->currentIndex().row(), 2);
    // The order holds when a file is added.
    writeRandomWalkHistory((folder / "c.csv").string(), 100);
    window.refresh();
    ASSERT_TRUE(finished(window));
    EXPECT_EQ(column(*view, WatchColumn::Name), (Names{"b.csv", "c.csv", "notes.txt", "x.csv"}));
    window.findChild<QCheckBox*>()->click();
    EXPECT_EQ(column(*view, WatchColumn::Name), Names{"x.csv"});

    // An Open far from the latest Close is asked about; No leaves the row as it was, Yes gives
    // the levels, as `aurelant predict --open 100` has them.
    const QString question = typeOpen(*view, "5", QMessageBox::No);
    EXPECT_TRUE(question.startsWith("The Open (5) differs from the latest Close ("))
        << question.toStdString();
    EXPECT_EQ(column(*view, WatchColumn::Open), Names{""});
    EXPECT_FALSE(typeOpen(*view, "100", QMessageBox::Yes).isEmpty());
    ASSERT_TRUE(finished(window));
    EXPECT_EQ(column(*view, WatchColumn::Level75), Names{"101.39"});
    EXPECT_EQ(column(*view, WatchColumn::Level25), Names{"102.78"});
    EXPECT_EQ(column(*view, WatchColumn::CameTrue), Names{"0 % of 2"});

    // A double-click on the name and Enter on the row open the file; the Return that ended the
    // Open's typing did not.
    const QString x = QString::fromStdString((folder / "x.csv").string());
    const QRect name = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, name.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, name.center());
    EXPECT_EQ(opened, QStringList{x});
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(opened, (QStringList{x, x}));
    // The file's full path rests under the pointer on its name.
    QHelpEvent help(QEvent::ToolTip, name.center(), view->viewport()->mapToGlobal(name.center()));
    QApplication::sendEvent(view->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), QDir::toNativeSeparators(x));

    // A change of the file clears the Open typed for its former latest day.
    writeRandomWalkHistory(x.toStdString(), 41);
    window.refresh();
    ASSERT_TRUE(finished(window));
    EXPECT_EQ(column(*view, WatchColumn::Open), Names{""});
    EXPECT_EQ(column(*view, WatchColumn::Level75), Names{""});

    // Save Table refuses the file the check names (the open price file) and leaves it alone.
    const std::string prices = write("prices.csv", "kept\n");
    std::vector<std::string> refused;
    window.setOutputCheck([&refused](const std::string& path) {
        refused.push_back(path);
        return true;
    });
    QTimer::singleShot(0, [&prices] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(prices));
        static_cast<QDialog*>(dialog)->done(
            QDialog::Accepted);  // past the question about replacing it
    });
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == "&Save Table...") {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    EXPECT_EQ(refused, std::vector<std::string>{prices});
    EXPECT_EQ(read(prices), "kept\n");

    // Another window takes the remembered folder without asking for one.
    WatchlistWindow again([](const QString&) {}, nullptr);
    again.start();
    EXPECT_EQ(again.watchlist().folder(), folder.string());
}

// Update All with a click: the files that remember a source are updated from the replay server,
// each file's result shows in the Update column, and the file that gained days is predicted
// again; a file without a source is left alone.
TEST_F(WatchlistWindowTest, UpdateAllUpdatesTheFilesWithASourceAndPredictsThemAgain) {
    const ReplayServer server(false);
    ::setenv("AURELANT_YAHOO_URL", server.address().c_str(), 1);
    const std::string days =
        "30-Dec-2025,102.10,103.50,101.25,102.87\r\n"
        "31-Dec-2025,103.10,104.50,102.25,103.87\r\n"
        "02-Jan-2026,104.10,105.50,103.25,104.87\r\n"
        "05-Jan-2026,105.10,106.50,104.25,105.87\r\n";
    const std::string current = write("current.csv", days);
    quotes::rememberSource(current, *quotes::parseSource("yahoo:AUR"));
    quotes::rememberSource(write("split.csv", days), *quotes::parseSource("yahoo:SPLIT"));
    write("alone.csv", days);
    WatchlistWindow window([](const QString&) {}, nullptr);
    window.show();
    window.loadFolder(QString::fromStdString(folder.string()));
    ASSERT_TRUE(finished(window));
    auto* view = window.findChild<QTableView*>();
    view->sortByColumn(static_cast<int>(WatchColumn::Name), Qt::AscendingOrder);
    EXPECT_EQ(column(*view, WatchColumn::LastDate)[1], "");  // too few days to predict

    QPushButton* updateAll = nullptr;
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        updateAll = button->text() == "&Update All" ? button : updateAll;
    }
    ASSERT_NE(updateAll, nullptr);
    QTest::mouseClick(updateAll, Qt::LeftButton);
    ASSERT_TRUE(updated(window));
    EXPECT_FALSE(view->horizontalHeader()->isSectionHidden(static_cast<int>(WatchColumn::Updated)));
    const std::vector<std::string> results = column(*view, WatchColumn::Updated);
    EXPECT_EQ(results[0], "");
    EXPECT_EQ(results[1], "3 days added (06-Jan-2026 to 08-Jan-2026)");
    EXPECT_TRUE(results[2].find("a split or an adjustment?") != std::string::npos) << results[2];
    EXPECT_EQ(column(*view, WatchColumn::LastDate)[1], "08-Jan-2026");
    EXPECT_TRUE(read(current).ends_with("08-Jan-2026,108.10,109.50,107.25,108.87\r\n"));
    ::unsetenv("AURELANT_YAHOO_URL");

    // No file is confident: the table says so.
    window.findChild<QCheckBox*>()->click();
    EXPECT_EQ(view->model()->rowCount(), 0);
    auto* note = view->viewport()->findChild<QLabel*>();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith("No file in this folder has a confident prediction"));
}

// At its first size the window shows every column it has not hidden; the header's menu shows a
// hidden one, and the next window remembers it.
TEST_F(WatchlistWindowTest, ShowsItsColumnsWhole) {
    rememberValue("watchlist/hiddenColumns", {});  // as Update All left it
    WatchlistWindow window([](const QString&) {}, nullptr);
    window.resize(window.firstSize());  // the offscreen screen is smaller
    window.show();
    auto* view = window.findChild<QTableView*>();
    QHeaderView* header = view->horizontalHeader();
    const auto shownWidth = [header] {
        int width = 0;
        for (int section = 0; section < header->count(); ++section) {
            width += header->isSectionHidden(section) ? 0 : header->sectionSize(section);
        }
        return width;
    };
    EXPECT_TRUE(header->isSectionHidden(static_cast<int>(WatchColumn::Records)));
    EXPECT_LE(shownWidth(), view->viewport()->width());

    const auto chooseInMenu = [header](const QString& heading) {
        QTimer::singleShot(0, [heading] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text() == heading) {
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
                }
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 5),
                                header->viewport()->mapToGlobal(QPoint(10, 5)));
        QApplication::sendEvent(header->viewport(), &event);
    };
    chooseInMenu("Records");
    EXPECT_FALSE(header->isSectionHidden(static_cast<int>(WatchColumn::Records)));
    WatchlistWindow again([](const QString&) {}, nullptr);
    EXPECT_FALSE(again.findChild<QTableView*>()->horizontalHeader()->isSectionHidden(
        static_cast<int>(WatchColumn::Records)));
    chooseInMenu("Records");
    EXPECT_TRUE(header->isSectionHidden(static_cast<int>(WatchColumn::Records)));
}

// A file replaced every 0.1 s does not hold up the others: a new file shows within 2 s while the
// replacing goes on. A sparse file of 100 GB is refused by its size, never read.
TEST_F(WatchlistWindowTest, KeepsUpWithAFolderThatKeepsChanging) {
    const std::string busy = (folder / "busy.csv").string();
    writeRandomWalkHistory(busy, 40);
    const std::string huge = write("huge.csv", "");
    ASSERT_EQ(::truncate(huge.c_str(), std::int64_t{100} << 30), 0);
    WatchlistWindow window([](const QString&) {}, nullptr);
    window.loadFolder(QString::fromStdString(folder.string()));
    ASSERT_TRUE(finished(window));
    auto* view = window.findChild<QTableView*>();
    EXPECT_EQ(column(*view, WatchColumn::Remark)[1],
              "the file is larger than 64 MB, more than any price history needs; it has not "
              "been read");

    const std::string replacement = (folder / "replacement").string();
    writeRandomWalkHistory((folder / "new.csv").string(), 40);
    QElapsedTimer clock;
    clock.start();
    qint64 shown = -1;
    while (clock.elapsed() < 3000 && shown < 0) {
        std::filesystem::copy_file(busy, replacement);
        std::filesystem::rename(replacement, busy);
        QTest::qWait(100);
        if (window.watchlist().rowCount() == 3) {
            shown = clock.elapsed();
        }
    }
    EXPECT_GE(shown, 0);
    EXPECT_LE(shown, 2000);
}

}  // namespace
}  // namespace aurelant
