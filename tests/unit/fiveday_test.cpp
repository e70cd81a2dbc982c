#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/aurelant.h"
#include "fiveday/dailydata.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr const char* kFiveRecords =
    "02-Jan-2026,1,2,3,4\r\n05-Jan-2026,5,6,7,8\r\n06-Jan-2026,9,10,11,12\r\n"
    "07-Jan-2026,13,14,15,16\r\n08-Jan-2026,17,18,19,20\r\n";
// Twelve days, enough for the run that the panel starts to make a prediction.
constexpr const char* kTwelveRecords =
    "02-Jan-2026,10,10.3,9.8,9.9\r\n05-Jan-2026,9.9,10.4,9.85,10.2\r\n"
    "06-Jan-2026,10.2,10.6,10.1,10.5\r\n07-Jan-2026,10.5,10.55,10,10.1\r\n"
    "08-Jan-2026,10.1,10.2,9.7,9.8\r\n09-Jan-2026,9.8,9.95,9.5,9.6\r\n"
    "12-Jan-2026,9.6,10.1,9.55,10\r\n13-Jan-2026,10,10.05,9.7,9.75\r\n"
    "14-Jan-2026,9.75,9.8,9.4,9.45\r\n15-Jan-2026,9.45,9.6,9.2,9.3\r\n"
    "16-Jan-2026,9.3,9.7,9.1,9.2\r\n19-Jan-2026,9.2,9.35,8.9,9\r\n";
constexpr const char* kNoSeparator =
    "This file contains neither TAB nor COMMA field separators, and cnnot be opened.";
constexpr const char* kInvalidOpen = "'The day-5 Open' box must contain a valid value";

std::string okMessage(const std::string& text) {
    return "message caption=\"Aurelant\" buttons=ok icon=none default=1 text=" + quoted(text) +
           " -> ok";
}

FormAction set(const std::string& control, const std::string& text) {
    return {FormAction::Kind::Set, control, text};
}

FormAction press(const std::string& button) {
    return {FormAction::Kind::Press, button, ""};
}

class FiveDayPanel : public ::testing::Test {
  protected:
    FiveDayPanel() : window(globals, platform), panel(window) {
        fs::create_directories(folder);
        platform.folder = folder.string();  // where a started run writes its data file
        window.load();
        platform.transcript.clear();
    }
    ~FiveDayPanel() override { fs::remove_all(folder); }

    // Writes a history file and makes it the open file, as Open leaves it.
    void open(const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
        globals.fileopen = true;
        globals.currentfile = path;
    }
    std::string fileText() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void queue(std::initializer_list<FormAction> actions) {
        auto& queued = platform.formActions["dailydata"];
        queued.insert(queued.end(), actions);
    }
    void typeDayFive(std::array<std::string, 4> prices) {
        for (int field = 1; field <= 4; ++field) {
            queue({set(DailyData::boxName(5, field), prices[field - 1])});
        }
    }
    Lines row(int day) const {
        Lines texts;
        for (int field = 0; field < DailyData::kFields; ++field) {
            texts.push_back(panel.boxText(day, field));
        }
        return texts;
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
    DailyData panel;
    fs::path folder = fs::temp_directory_path() /
                      ("aurelant-fiveday-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string path = (folder / "prices.csv").string();
};

TEST_F(FiveDayPanel, ViewShowsTheLastFiveRecordsWithLenientPrices) {
    open(
        "01-Jan-2026,1,2,0.5,1.5\r\n20260102,10,11,9,10.5\r\nnotadate,10,11,9,10.5\r\n"
        "05-Jan-2026,12.5x,,9,0.5\r\n06-Jan-2026,-1,2,3,4\r\n07-Jan-2026,1,2,3,4\r\n"
        "07-Jan-2026,1,2\r\n");
    globals.viewdatamode = true;
    panel.load();
    EXPECT_EQ(row(1), (Lines{"02-Jan-2026", " 10", " 11", " 9", " 10.5"}));
    EXPECT_EQ(row(2), (Lines{"01-Jan-1900", " 10", " 11", " 9", " 10.5"}));
    EXPECT_EQ(row(3), (Lines{"05-Jan-2026", " 12.5", " 0", " 9", " .5"}));
    EXPECT_EQ(row(5), (Lines{"07-Jan-2026", " 1", " 2", " 3", " 4"}));
    EXPECT_EQ(globals.fivedays[4], (std::array<double, 5>{46028, -1, 2, 3, 4}));
    EXPECT_FALSE(globals.viewdatamode);
    EXPECT_FALSE(panel.buttonEnabled("savecommand") || panel.buttonEnabled("predictcommand"));
    EXPECT_TRUE(platform.transcript.empty());
}

TEST_F(FiveDayPanel, FewerThanFiveRecordsLeaveTheGridsEarlierRowsShowing) {
    open("02-Jan-2026\t1\t2\t3\t4\r\n05-Jan-2026\t5\t6\t7\t8\r\n");
    globals.viewdatamode = true;
    panel.load();
    EXPECT_EQ(row(3), (Lines{"30-Dec-1899", " 0", " 0", " 0", " 0"}));
    EXPECT_EQ(row(4), (Lines{"02-Jan-2026", " 1", " 2", " 3", " 4"}));
    EXPECT_EQ(globals.separator, "\t");
}

TEST_F(FiveDayPanel, AddLatestShowsTheLastFourRecordsAndTodayUntilPredictionModeTakesOver) {
    open(kFiveRecords);
    globals.addlatestmode = true;
    panel.load();
    EXPECT_EQ(row(1), (Lines{"05-Jan-2026", " 5", " 6", " 7", " 8"}));
    EXPECT_EQ(row(4), (Lines{"08-Jan-2026", " 17", " 18", " 19", " 20"}));
    EXPECT_EQ(row(5), (Lines{"05-Jan-2026", "", "", "", ""}));
    EXPECT_EQ(panel.prompt(),
              "Enter the latest Open, High, Low and Close (in the 'Day 5' row), then Save");
    EXPECT_TRUE(panel.buttonEnabled("savecommand"));
    EXPECT_FALSE(panel.buttonEnabled("predictcommand"));
    globals.movementmode = true;
    panel.load();
    EXPECT_EQ(panel.prompt(), "Enter only the latest Open (in the 'Day 5' row), then Predict");
    EXPECT_FALSE(panel.buttonEnabled("savecommand"));
    EXPECT_TRUE(panel.buttonEnabled("predictcommand"));
}

TEST_F(FiveDayPanel, AddLoadStopsOnAPriceThatIsNotANumberAndClosesTheFile) {
    open("02-Jan-2026,1,2,3,4\r\n05-Jan-2026,12.5x,2,3,4\r\n");
    globals.addlatestmode = true;
    window.caption = "prices.csv";
    panel.load();
    EXPECT_EQ(
        platform.transcript,
        (Lines{okMessage("Error Number 13  Error is: Type mismatch: a text is not a number")}));
    EXPECT_FALSE(globals.fileopen);
    EXPECT_EQ(globals.currentfile, "");
    EXPECT_EQ(window.caption, globals.programtitle);
    EXPECT_FALSE(panel.buttonEnabled("savecommand"));
    EXPECT_EQ(row(5), (Lines{"", "", "", "", ""}));
}

TEST_F(FiveDayPanel, SaveAppendsTheTrimmedTextsAsTypedWithTodaysDate) {
    open(kFiveRecords);
    platform.todayDate = {2026, 1, 9};
    typeDayFive({"10.5", " 11 ", "10.25\t", "-10.75"});
    queue({press("savecommand")});
    typeDayFive({"1", "2", "3", "4"});
    queue({press("savecommand")});
    window.click("addlatest");
    window.click("EditAddImage");
    EXPECT_EQ(fileText(), std::string(kFiveRecords) + "09-Jan-2026,10.5,11,10.25,-10.75\r\n" +
                              "09-Jan-2026,1,2,3,4\r\n");
    EXPECT_EQ(platform.transcript, (Lines{"form dailydata shown", "form dailydata hidden",
                                          "form dailydata shown", "form dailydata hidden"}));
}

TEST_F(FiveDayPanel, SaveKeepsGroupingInATabFileAndStartsARecordOfItsOwn) {
    open("02-Jan-2026\t1\t2\t3\t4");
    typeDayFive({"1,000.5", "1,001", "999", "1,000"});
    queue({press("savecommand")});
    window.click("addlatest");
    EXPECT_EQ(fileText(), "02-Jan-2026\t1\t2\t3\t4\r\n05-Jan-2026\t1,000.5\t1,001\t999\t1,000\r\n");
}

TEST_F(FiveDayPanel, SaveRefusesPricesThatWouldNotReadBack) {
    open(kFiveRecords);
    for (const char* bad : {"0", "", "abc", "12.5x", "1,000", "1e999"}) {
        platform.transcript.clear();
        typeDayFive({"10", "11", bad, "10.5"});
        queue({press("savecommand"), press("cancelcommand")});
        window.click("addlatest");
        EXPECT_EQ(platform.transcript,
                  (Lines{"form dailydata shown",
                         okMessage("You must have valid data in the 'Day Five' area"),
                         "form dailydata hidden"}))
            << bad;
    }
    EXPECT_EQ(fileText(), kFiveRecords);
}

TEST_F(FiveDayPanel, SaveAfterTheSeparatorMessageWritesNothing) {
    open("02-Jan-2026;1;2;3;4\r\n");
    globals.separator = ",";
    typeDayFive({"10", "11", "9", "10.5"});
    queue({press("savecommand"), press("cancelcommand")});
    window.click("addlatest");
    EXPECT_EQ(platform.transcript, (Lines{okMessage(kNoSeparator), "form dailydata shown",
                                          okMessage(kNoSeparator), "form dailydata hidden"}));
    EXPECT_EQ(fileText(), "02-Jan-2026;1;2;3;4\r\n");
}

TEST_F(FiveDayPanel, SaveReportsAFileThatVanishedOrBecameAFolder) {
    for (const bool folderInstead : {false, true}) {
        open(kFiveRecords);
        globals.addlatestmode = true;
        window.caption = "prices.csv";
        panel.load();
        panel.show();
        fs::remove(path);
        if (folderInstead) {
            fs::create_directory(path);
        }
        platform.transcript.clear();
        for (int field = 1; field <= 4; ++field) {
            panel.setText(DailyData::boxName(5, field), "10");
        }
        panel.press("savecommand");
        EXPECT_EQ(platform.transcript,
                  (Lines{okMessage(folderInstead
                                       ? "Error Number 21  Error is: Is a directory"
                                       : "Error Number 2  Error is: No such file or directory")}));
        EXPECT_EQ(fs::exists(path), folderInstead);
        EXPECT_FALSE(panel.visible());
        EXPECT_FALSE(globals.fileopen);
        EXPECT_EQ(window.caption, globals.programtitle);
        fs::remove_all(path);
    }
}

TEST_F(FiveDayPanel, PredictRefusesAZeroOpenAndCancelAtFirstUseStartsNothing) {
    open(kFiveRecords);
    queue({press("predictcommand"), set("day5opentext", "abc"), press("predictcommand"),
           set("day5opentext", "0.0"), press("predictcommand"), press("cancelcommand")});
    window.click("predictmove");
    EXPECT_EQ(platform.transcript,
              (Lines{"form dailydata shown", okMessage(kInvalidOpen), okMessage(kInvalidOpen),
                     okMessage(kInvalidOpen), "form dailydata hidden"}));
    EXPECT_EQ(globals.nextopen, 0);
    EXPECT_FALSE(globals.movementmode || globals.repredictready || window.recalcEnabled);
}

TEST_F(FiveDayPanel, AnOpenOrAnEarlierOneEnablesReprediction) {
    open(kTwelveRecords);
    window.maintext.setText("an earlier report");
    queue({set("day5opentext", "-3"), press("predictcommand")});
    window.click("predictpricesimage");
    EXPECT_EQ(window.maintext.text.find("an earlier report"), std::string::npos);
    EXPECT_NE(window.maintext.text.find("with an Open of: -3"), std::string::npos);
    EXPECT_EQ(globals.nextopen, -3);
    EXPECT_TRUE(globals.movementmode && globals.repredictready && window.recalcEnabled);
    window.recalcEnabled = false;
    queue({press("cancelcommand")});
    platform.answers.push_back(Answer::Cancel);  // the direction-only run's question
    window.click("predictmove");
    EXPECT_FALSE(globals.movementmode);
    EXPECT_TRUE(window.recalcEnabled);
}

// Closes every form as the window's close box does, without pressing a button.
class ClosingPlatform : public ScriptedPlatform {
  public:
    void showModal(FormModel& form) override { form.hide(); }
};

TEST(FiveDayView, OnlyTheMenuItemClearsTheOtherModes) {
    Globals globals;
    ClosingPlatform platform;
    Aurelant window(globals, platform);
    globals.movementmode = true;
    globals.addlatestmode = true;
    window.click("EditingImage");
    EXPECT_TRUE(globals.viewdatamode && globals.movementmode && globals.addlatestmode);
    window.click("AddData");
    EXPECT_FALSE(globals.movementmode || globals.addlatestmode);
}

}  // namespace
}  // namespace aurelant
