#include <gtest/gtest.h>

#include "app/aurelant.h"
#include "app/helppage.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

class MainWindowModel : public ::testing::Test {
  protected:
    MainWindowModel() : window(globals, platform) { window.load(); }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
};

TEST_F(MainWindowModel, StartupFillsTheStateAndShowsTheBanner) {
    ASSERT_EQ(platform.transcript.size(), 1u);
    EXPECT_NE(platform.transcript[0].find("caption=\"Aurelant's Prices\""), std::string::npos);
    EXPECT_EQ(window.caption, "Aurelant's Prices V2.46");
    EXPECT_EQ(window.infolabel.caption, std::string(26, ' ') + "AurelantsPrices");
    EXPECT_EQ(window.infolabel.style, (TextStyle{24, false, true, {0, 0, 139}}));
    EXPECT_EQ(window.maintext.text, "Data Panel");
    EXPECT_EQ(window.maintext.style.colour, (Rgb{128, 64, 64}));
    EXPECT_FALSE(window.strategyEnabled);
    EXPECT_FALSE(window.recalcEnabled);
    EXPECT_TRUE(globals.noconfidence);
    EXPECT_EQ(globals.crlf, "\r\n");
    EXPECT_EQ(globals.upprobtable[0], 60.0f);
    EXPECT_EQ(globals.upprobtable[5], 43.0f);
    EXPECT_EQ(globals.upprobtable[31], 50.0f);
    EXPECT_EQ(globals.upprobtable[32], 0.0f);
}

TEST_F(MainWindowModel, NewResetsTheFileAndKeepsDatesAndDialogPaths) {
    globals.fileopen = true;
    globals.predictiondone = true;
    globals.currentfile = "prices.csv";
    globals.lastfile = "prices.csv";
    globals.nextopen = 12.5;
    globals.fivedays[5] = {37991, 1, 2, 3, 4};
    globals.fivedays[0] = {1, 1, 1, 1, 1};
    window.recalcEnabled = true;
    window.strategyEnabled = true;
    window.click("closeimage");
    EXPECT_FALSE(globals.fileopen);
    EXPECT_FALSE(globals.predictiondone);
    EXPECT_TRUE(globals.currentfile.empty());
    EXPECT_EQ(globals.lastfile, "prices.csv");
    EXPECT_EQ(globals.nextopen, 12.5);
    EXPECT_EQ(globals.fivedays[5], (std::array<double, 5>{37991, 0, 0, 0, 0}));
    EXPECT_EQ(globals.fivedays[0], (std::array<double, 5>{1, 1, 1, 1, 1}));
    EXPECT_FALSE(window.recalcEnabled);
    EXPECT_FALSE(window.strategyEnabled);
    EXPECT_EQ(window.infolabel.caption, "Information Panel");
    EXPECT_EQ(window.maintext.style, (TextStyle{8, false, false, {128, 0, 128}}));
}

TEST_F(MainWindowModel, ClearScreenHintsAtRedisplayOnlyWithAFileOpen) {
    window.click("cls");
    EXPECT_EQ(window.infolabel.caption, "Information Panel");
    globals.fileopen = true;
    window.click("clsimage");
    EXPECT_EQ(window.infolabel.caption.substr(0, 58),
              "You may re-display the contents of the currently-opened fi");
    EXPECT_EQ(window.maintext.text, "Data Panel");
}

TEST_F(MainWindowModel, EveryControlNameIsClickable) {
    for (const char* name : {"new", "open", "close", "Exit", "about", "HelpImage", "web",
                             "strategyimage", "repredimage", "viewhtmimg"}) {
        EXPECT_TRUE(window.click(name)) << name;
    }
    EXPECT_FALSE(window.click("nosuchthing"));
    EXPECT_TRUE(window.exitRequested);
}

TEST(HelpPage, HasFiftyTwoLinesWithTheFixedOnes) {
    const std::string page = helpPageText("\n");
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = page.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(page.substr(start, end - start));
    }
    lines.push_back(page.substr(start));
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[0], "AURELANT'S PRICES - TODAY!");
    EXPECT_EQ(lines[2], std::string(103, '='));
    EXPECT_EQ(lines[15], std::string(103, '='));
    EXPECT_EQ(lines[49], "Good Luck!");
    EXPECT_EQ(lines[51], "Use the 'Print' button (above) to print this information.");
    for (std::size_t empty : {1, 5, 8, 12, 16, 19, 25, 29, 31, 35, 37, 41, 45, 48, 50}) {
        EXPECT_TRUE(lines[empty].empty()) << empty;
    }
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 150u);
    }
}

}  // namespace
}  // namespace aurelant
