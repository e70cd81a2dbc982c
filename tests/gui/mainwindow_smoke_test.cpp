// The real main window, offscreen: every menu item and picture exists with its caption or
// tooltip and reaches its command.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/controls.h"
#include "mainwindow.h"
#include "qtapplication.h"
#include "qtplatform.h"
#include "scenario/generated_history.h"
#include "scenario/scripted_platform.h"
#include "textconversion.h"

namespace aurelant {
namespace {

class MainWindowSmoke : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    MainWindowSmoke() : model(globals, platform) {
        model.load();
        window = std::make_unique<MainWindow>(model);
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant model;
    std::unique_ptr<MainWindow> window;
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
    EXPECT_EQ(leaves.size(), 25u);
    for (const MenuEntry& leaf : leaves) {
        auto* action = window->findChild<QAction*>(QString::fromStdString(leaf.name));
        ASSERT_NE(action, nullptr) << leaf.name;
        EXPECT_EQ(action->text().toStdString(), leaf.caption);
        EXPECT_TRUE(action->shortcut().isEmpty()) << leaf.name;
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
    window->findChild<QToolButton*>("clsimage")->click();
    EXPECT_EQ(screen->toPlainText().toStdString(), "Data Panel");
    window->findChild<QToolButton*>("HelpImage")->click();
    EXPECT_EQ(screen->toPlainText().split('\n').size(), 52);
    window->findChild<QAction*>("cls")->trigger();
    EXPECT_EQ(model.maintext.style.colour, (Rgb{128, 0, 128}));
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
    const std::string path =
        QDir::temp()
            .filePath(
                QString("aurelant-smoke-%1 prix é.csv").arg(QCoreApplication::applicationPid()))
            .toStdString();
    writeGeneratedHistory(path, 130);
    auto* screen = window->findChild<QPlainTextEdit*>("maintext");
    auto* label = window->findChild<QLabel*>("infolabel");
    platform.fileAnswers = {path};
    window->findChild<QToolButton*>("OpenImage")->click();
    EXPECT_EQ(window->windowTitle().toStdString(), "Aurelant's Prices V2.46 - " + path);
    EXPECT_TRUE(screen->toPlainText().contains("130 records found\n\nDisplaying up to 120"));
    EXPECT_TRUE(screen->toPlainText().contains(" PRIX É.CSV\n"));
    EXPECT_TRUE(label->text().startsWith("File should be in chronological order"));
    window->findChild<QAction*>("redisplay")->trigger();
    EXPECT_EQ(screen->toPlainText().split('\n').size(), 131);
    platform.fileAnswers = {path};
    window->findChild<QToolButton*>("reverseimage")->click();
    EXPECT_TRUE(screen->toPlainText().startsWith("The order of file "));
    platform.fileAnswers = {path, path};
    window->findChild<QToolButton*>("fiximage")->click();
    EXPECT_TRUE(platform.transcript.back().find("Error: The file chosen for the output") !=
                std::string::npos);
    QFile::remove(QString::fromStdString(path));
}

// The desktop's clipboard holds the screen's lines with its own line ends; a picture is no text.
TEST(QtClipboard, TextComesBackWithWindowsLineEndsAndAPictureIsNoText) {
    ensureQtApplication();
    QtPlatform platform;
    platform.setClipboardText("one\r\ntwo");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "one\ntwo");
    EXPECT_EQ(platform.clipboardText(), "one\r\ntwo");
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(platform.clipboardText(), std::nullopt);
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
