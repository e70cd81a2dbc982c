#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/aurelant.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

// Lines joined by CR LF, as the main screen and the data file hold them.
std::string joined(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text.substr(0, text.size() - 2);
}

// Twelve days, comma-separated with a volume column and YYYYMMDD dates; ends on five down days.
constexpr const char* kMixedDays =
    "20240102,10.00,10.30,9.80,9.90,1500\n20240103,9.90,10.40,9.85,10.20,1700\n"
    "20240104,10.20,10.60,10.10,10.50,1200\n20240105,10.50,10.55,10.00,10.10,900\n"
    "20240108,10.10,10.20,9.70,9.80,1100\n20240109,9.80,9.95,9.50,9.60,1000\n"
    "20240110,9.60,10.10,9.55,10.00,1300\n20240111,10.00,10.05,9.70,9.75,800\n"
    "20240112,9.75,9.80,9.40,9.45,950\n20240116,9.45,9.60,9.20,9.30,1000\n"
    "20240117,9.30,9.70,9.10,9.20,1200\n20240118,9.20,9.35,8.90,9.00,1400\n";

// TAB-separated, with an empty and a short line, a day without movement (10.5 against 10.50)
// and the four days it makes the model skip; ends on the pattern --U-U (DOWN at 57 %).
constexpr const char* kDaysWithGap =
    "2004-01-05\t10.00\t10.20\t9.90\t10.10\n2004-01-06\t10.10\t10.15\t9.80\t9.90\n"
    "2004-01-07\t9.90\t10.00\t9.60\t9.70\n\n2004-01-08\t9.70\t10.10\t9.65\t10.00\n"
    "2004-01-09\t10.00\t10.05\t9.70\t9.80\n2004-01-12\t9.80\t10.20\t9.75\t10.10\n"
    "2004-01-13\t10.5\t10.80\t10.20\t10.50\n2004-01-14\t10.50\t10.70\t10.30\t10.60\n"
    "invalid record\n2004-01-15\t10.60\t10.65\t10.20\t10.30\n"
    "2004-01-16\t10.30\t10.50\t10.10\t10.40\n05/01/2004\t10.40\t10.45\t10.00\t10.05\n"
    "2004-01-20\t10.05\t10.10\t9.50\t9.60\t250000\n2004-01-21\t9.60\t9.70\t9.40\t9.50\n"
    "2004-01-22\t9.50\t9.60\t9.45\t9.55\n2004-01-23\t9.55\t9.65\t9.30\t9.35\n"
    "2004-01-26\t9.35\t9.70\t9.30\t9.65\n";

// Six days down, then `upDays` days up, each moving 0.4 from the previous Close.
std::string downThenUp(int upDays, double open = 20) {
    std::string text;
    for (int day = 0; day < 6 + upDays; ++day) {
        const double close = open + (day < 6 ? -0.4 : 0.4);
        const double high = std::max(open, close) + 0.3;
        const double low = std::min(open, close) - 0.2;
        text += std::to_string(day + 3) + "-Mar-2025," + std::to_string(open) + "," +
                std::to_string(high) + "," + std::to_string(low) + "," + std::to_string(close) +
                "\n";
        open = close;
    }
    return text;
}

constexpr const char* kDisclaimer =
    "The producers of this program accept no responsibilty for actual performance of these "
    "statistics or for any financial losses";
constexpr const char* kHeader =
    "Date    \tDirectn\tProb\tPred?\tRight?\tPredict\tActual\tPrice Reached?";

class PredictionRunTest : public ::testing::Test {
  protected:
    PredictionRunTest() : window(globals, platform) {
        folder = fs::temp_directory_path() /
                 ("aurelant-predict-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        platform.folder = folder.string();
        window.load();
        platform.transcript.clear();
    }
    ~PredictionRunTest() override { fs::remove_all(folder); }

    // What Open leaves behind: the file on disk, the flags, the record to comment from.
    void openFile(const std::string& content, std::int16_t displayfrom = 0) {
        path = (folder / "prices.csv").string();
        std::ofstream(path, std::ios::binary) << content;
        globals.fileopen = true;
        globals.currentfile = path;
        globals.displayfrom = displayfrom;
        std::string upper = path;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        file = upper;
    }

    void predictDirection() {
        platform.answers.push_back(Answer::Ok);
        window.click("predictchange");
    }

    void predictMovement(double open) {
        globals.movementmode = true;
        globals.nextopen = open;
        window.click("PredictImage");
    }

    std::string dataFile() const {
        std::ifstream in(folder / "savescreen1.tmp", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // The report of a DOWN prediction at 57 %, with the breaks before it, up to the probability
    // line and its line break.
    std::string downAt57Report() const {
        return "\r\n\r\nAurelant's Prices - Prediction Report for File:" + file +
               "\r\n\r\n\r\nThe probability of a DOWNWARDS movement is 57%\r\n";
    }

    std::string lastMessage() const { return platform.transcript.back(); }

    void expectFailedRun(const std::string& description) {
        EXPECT_NE(lastMessage().find("text=\"Error Number: "), std::string::npos);
        EXPECT_NE(lastMessage().find("  Error is: " + description), std::string::npos);
        EXPECT_EQ(window.maintext.text, "Data Panel");
        EXPECT_EQ(window.caption, "Aurelant's Prices V2.46");
        EXPECT_FALSE(globals.fileopen);
        EXPECT_FALSE(globals.movementmode);
        EXPECT_TRUE(globals.currentfile.empty());
        EXPECT_TRUE(globals.noconfidence);
        EXPECT_FALSE(globals.predictiondone);
        EXPECT_FALSE(window.recalcEnabled);
        EXPECT_FALSE(window.strategyEnabled);
    }

    fs::path folder;
    std::string path;
    std::string file;
    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
};

TEST_F(PredictionRunTest, DirectionOnlyRunShowsTheBackTestAndAnUpReport) {
    openFile(kMixedDays);
    predictDirection();
    EXPECT_EQ(
        window.maintext.text,
        joined({"01-09-2024 Predicting 56% UP for next trading day",
                "01-10-2024 Prediction of direction for today was TRUE. Open was 9.6 and "
                "price went to 10.1",
                "     Predicted price was 9.81, which was REACHED so gain was 26.52 on an "
                "initial investment of 1,000 (102 units)",
                "01-10-2024 No Prediction for next trading day (only 52% probability of Down)",
                "01-11-2024 Predicting 54% UP for next trading day",
                "01-12-2024 Prediction of direction for today was FALSE. Open was 9.75 and "
                "price went to 9.8",
                "     Predicted price was 9.96, which was NOT REACHED so gain was 0 on an "
                "initial investment of 1,000 (102 units)",
                "01-12-2024 No Prediction for next trading day (only 50% probability of Up)",
                "01-16-2024 Predicting 57% UP for next trading day",
                "01-17-2024 Prediction of direction for today was TRUE. Open was 9.3 and "
                "price went to 9.7",
                "     Predicted price was 9.49, which was REACHED so gain was 39.78 on an "
                "initial investment of 1,000 (102 units)",
                "01-17-2024 No Prediction for next trading day (only 51.5% probability of Up)",
                "01-18-2024 Predicting 60% UP for next trading day",
                "",
                "Predictions of Direction: Number of predictions with at least 57% "
                "confidence: 1. Number of these correct: 1. Percentage correct=100%",
                "Predictions of Direction. Average probability of predictions=56.75%.  "
                "Actual percentage correct=50%",
                "Percentage of successful price predictions, using predictions with 57% "
                "confidence: 50%",
                "Gain for these transactions on an intial investment of 1,000 is  66.3",
                "Total gain per 1,000 on UP days:  66.3.  Gain per 1,000 on DOWN days:  0.  "
                "  NOTE: Losses not computed",
                "Aurelant's Prices - Prediction Report for File:" + file,
                "",
                "",
                "The probability of an UPWARDS movement is 60%",
                kDisclaimer}));
    EXPECT_EQ(
        dataFile(),
        joined({kHeader, "01-09-2024\tUp   \t56%\tYes\tTRUE\t9.81\t10.1\tREACHED",
                "01-10-2024\tDown \t52%\tNo\t \t \t \t ",
                "01-11-2024\tUp   \t54%\tYes\tFALSE\t9.96\t9.8\tNOT REACHED",
                "01-12-2024\tUp   \t50%\tNo\t \t \t \t ",
                "01-16-2024\tUp   \t57%\tYes\tTRUE\t9.49\t9.7\tREACHED",
                "01-17-2024\tUp   \t51.5%\tNo\t \t \t \t ",
                "No. of predictions of direction with 57% confidence=1. Number correct=1. "
                "Percentage correct=100%",
                "Average probability of predictions of direction: 56.75%.  Actual "
                "percentage correct=50%",
                "Percentage of successful price predictions, using predictions with 57% "
                "confidence: 50%",
                std::string(55, '='), "Aurelant's Prices - Prediction Report for File: " + file,
                "The probability of an UPWARDS movement is 60%", ""}));
    EXPECT_EQ(platform.transcript.size(), 3u);  // the question, busy on, busy off
    EXPECT_NE(platform.transcript[0].find("caption=\"Predict Aurelant's Movement\" "
                                          "buttons=okcancel icon=information default=2"),
              std::string::npos);
    EXPECT_EQ(globals.separator, ",");
    EXPECT_EQ(globals.patterncode, 0);
    EXPECT_TRUE(globals.directionup);
    EXPECT_EQ(globals.upfraction, 0.6);
    EXPECT_FALSE(globals.noconfidence);
    EXPECT_EQ(globals.probabilitytext, " 60");
    EXPECT_TRUE(globals.level75text.empty());
    EXPECT_TRUE(globals.predictiondone);
    EXPECT_EQ(globals.reporttext,
              window.maintext.text.substr(window.maintext.text.find("Aurelant's")));
    EXPECT_EQ(window.infolabel.caption.substr(0, 54),
              "THE PREDICTION IS GIVEN AT THE BOTTOM OF THIS SCREEN. ");
}

TEST_F(PredictionRunTest, InvalidLinesAndDaysWithoutMovementInADownRun) {
    openFile(kDaysWithGap);
    predictDirection();
    const std::string gap = " Insufficient history of days with movement. No prediction";
    EXPECT_EQ(
        window.maintext.text,
        joined({"",
                "WARNING: Record number  4 was invalid, and was skipped",
                "2004-01-12 Predicting 57% DOWN for next trading day",
                "2004-01-13" + gap + "2004-01-14" + gap,
                "WARNING: Record number  10 was invalid, and was skipped",
                "2004-01-15" + gap + "2004-01-16" + gap + "05/01/2004" + gap +
                    "2004-01-20 Prediction of direction for today was TRUE. Open was 10.05 "
                    "and price went to 9.5",
                "     Predicted price was 9.87, which was REACHED so gain was 23.46 on an "
                "initial investment of 1,000 (102 units)",
                "2004-01-20 No Prediction for next trading day (only 51.5% probability of "
                "Down)",
                "2004-01-21 Predicting 54% UP for next trading day",
                "2004-01-22 Prediction of direction for today was TRUE. Open was 9.5 and "
                "price went to 9.6",
                "     Predicted price was 9.67, which was NOT REACHED so gain was 0 on an "
                "initial investment of 1,000 (102 units)",
                "2004-01-22 No Prediction for next trading day (only 53% probability of Down)",
                "2004-01-23 No Prediction for next trading day (only 53% probability of Down)",
                "2004-01-26 Predicting 57% DOWN for next trading day",
                "",
                "Predictions of Direction: Number of predictions with at least 57% "
                "confidence: 1. Number of these correct: 1. Percentage correct=100%",
                "Predictions of Direction. Average probability of predictions=56%.  Actual "
                "percentage correct=66.66%",
                "Percentage of successful price predictions, using predictions with 57% "
                "confidence: 33.33%",
                "Gain for these transactions on an intial investment of 1,000 is  23.46",
                "Total gain per 1,000 on UP days:  0.  Gain per 1,000 on DOWN days:  23.46.  "
                "  NOTE: Losses not computed",
                ""}) +
            downAt57Report() + "\r\n" + kDisclaimer);
    const std::string skipped = "\t     \t50%\tNo\t     \t     \t     \t     ";
    EXPECT_EQ(
        dataFile(),
        joined({kHeader, "2004-01-13" + skipped, "2004-01-14" + skipped, "2004-01-15" + skipped,
                "2004-01-16" + skipped, "05/01/2004" + skipped,
                "2004-01-12\tDown \t57%\tYes\tTRUE\t9.87\t9.5\tREACHED",
                "2004-01-20\tDown \t51.5%\tNo\t \t \t \t ",
                "2004-01-21\tUp   \t54%\tYes\tTRUE\t9.67\t9.6\tNOT REACHED",
                "2004-01-22\tDown \t53%\tNo\t \t \t \t ", "2004-01-23\tDown \t53%\tNo\t \t \t \t ",
                "No. of predictions of direction with 57% confidence=1. Number correct=1. "
                "Percentage correct=100%",
                "Average probability of predictions of direction: 56%.  Actual percentage "
                "correct=66.66%",
                "Percentage of successful price predictions, using predictions with 57% "
                "confidence: 33.33%",
                std::string(55, '='), "Aurelant's Prices - Prediction Report for File: " + file,
                "The probability of a DOWNWARDS movement is 57%", ""}));
    EXPECT_EQ(globals.separator, "\t");
    EXPECT_EQ(globals.upfraction, 0.43);
    EXPECT_FALSE(globals.directionup);
}

TEST_F(PredictionRunTest, MovementRunGivesLevelsAndNoBackTestLines) {
    openFile(kDaysWithGap);
    window.strategyEnabled = false;
    predictMovement(100);
    EXPECT_EQ(
        window.maintext.text,
        joined({"", "WARNING: Record number  4 was invalid, and was skipped", "",
                "WARNING: Record number  10 was invalid, and was skipped", ""}) +
            downAt57Report() +
            joined({"",
                    "If the movement does occur then the following probabilities would exist, "
                    "with an Open of:  100",
                    "", "A 75% probability that the Low will be lower than  98.27",
                    "A 50% probability that the Low will be lower than  97.58",
                    "A 25% probability that the Low will be lower than  96.60", "", "", "",
                    kDisclaimer}));
    EXPECT_EQ(
        dataFile(),
        joined({kHeader, "2004-01-12\tDown \t57%\tYes\tTRUE\t9.87\t9.5\tREACHED",
                "2004-01-20\tDown \t51.5%\tNo\t \t \t \t ",
                "2004-01-21\tUp   \t54%\tYes\tTRUE\t9.67\t9.6\tNOT REACHED",
                "2004-01-22\tDown \t53%\tNo\t \t \t \t ", "2004-01-23\tDown \t53%\tNo\t \t \t \t ",
                "Aurelant's Prices - Prediction Report for File: " + file,
                "The probability of a DOWNWARDS movement is 57%",
                "If the movement does occur, then the following probability would exist "
                "(with an Open of 100):",
                "A 75% probability that the Low will be lower than 98.27", ""}));
    EXPECT_EQ(platform.transcript, (std::vector<std::string>{"busy on", "busy off"}));
    EXPECT_EQ(globals.level75text, " 98.27");
    EXPECT_TRUE(window.strategyEnabled);
    EXPECT_TRUE(globals.movementmode);  // a run leaves the mode for the next one
    EXPECT_EQ(window.infolabel.caption.substr(0, 22), "NOTE: IF YOU HAVE ONE ");
}

TEST_F(PredictionRunTest, TableValueFiftyIsReportedAsNoChange) {
    openFile(downThenUp(5));
    predictMovement(50);
    EXPECT_EQ(window.maintext.text,
              joined({"",
                      "A change in price is NOT predicted, so trading is NOT recommended",
                      "",
                      "",
                      "",
                      kDisclaimer,
                      "",
                      "Aurelant 's Prices - Prediction Report for File:" + file,
                      "",
                      "The probability of an UPWARDS movement is 50%",
                      "",
                      "If the movement does occur then the following probabilities would exist, "
                      "with an Open of:  50",
                      "",
                      "A 75% probability that the High will be greater than  51.06",
                      "A 50% probability that the High will be greater than  51.50",
                      "A 25% probability that the High will be greater than  52.13",
                      "",
                      "",
                      "",
                      kDisclaimer}));
    const std::string data = dataFile();
    EXPECT_NE(data.find("\r\nA change in price is NOT predicted, so trading is NOT recommended\r\n"
                        "Aurelant's Prices - Prediction Report for File: " +
                        file + "\r\nThe probability of an UPWARDS movement is 50%\r\n"),
              std::string::npos);
    EXPECT_EQ(data.find("If the movement"), std::string::npos);
    EXPECT_TRUE(globals.noconfidence);
    EXPECT_TRUE(window.strategyEnabled);
    EXPECT_EQ(globals.patterncode, 31);
}

TEST_F(PredictionRunTest, UnconfidentUpAndDownReports) {
    openFile(downThenUp(1));
    predictDirection();
    EXPECT_EQ(window.maintext.text.substr(window.maintext.text.rfind("Total gain")),
              joined({"Total gain per 1,000 on UP days:  31.35.  Gain per 1,000 on DOWN days:  0.  "
                      "  NOTE: Losses not computed",
                      "", "", "Aurelant 's Prices - Prediction Report for File:" + file, "",
                      "The probability of an UPWARDS movement is 53%", "", kDisclaimer}));
    EXPECT_NE(window.maintext.text.find("(55 units)"), std::string::npos);
    EXPECT_TRUE(globals.noconfidence);

    openFile(downThenUp(2));
    predictDirection();
    const std::string data = dataFile();
    EXPECT_EQ(data.substr(data.rfind("\r\nThe")),
              "\r\nThe probability of a DOWNWARDS movement is  51 %\r\n");
    EXPECT_EQ(window.maintext.text.substr(window.maintext.text.rfind("File:")),
              joined({"File:" + file, "", "", "The probability of a DOWNWARDS movement is 51%", "",
                      kDisclaimer}));
}

// After six days down from 20 the seventh, opening at 17.6, is predicted UP to 17.97.
TEST_F(PredictionRunTest, TheLevelIsReachedWhenTheHighEqualsItsCutText) {
    openFile(downThenUp(0) + "09-Mar-2025,17.6,17.97,17.4,17.5\n");
    predictDirection();
    EXPECT_NE(dataFile().find("\tYes\tTRUE\t17.97\t17.97\tREACHED\r\n"), std::string::npos);
    EXPECT_NE(window.maintext.text.find("at least 57% confidence: 1. Number of these correct: 1."),
              std::string::npos);

    // Missed by a cent on a day that closed down: no high-confidence prediction was right.
    openFile(downThenUp(0) + "09-Mar-2025,17.6,17.96,17.4,17.5\n");
    predictDirection();
    EXPECT_NE(dataFile().find("\tYes\tFALSE\t17.97\t17.96\tNOT REACHED\r\n"), std::string::npos);
    EXPECT_EQ(window.maintext.text.find("at least 57%"), std::string::npos);
    EXPECT_EQ(dataFile().find("57% confidence="), std::string::npos);
}

TEST_F(PredictionRunTest, TheOnlyPredictionIsTheLastOneAndIsNeverJudged) {
    openFile(downThenUp(0));
    predictDirection();
    EXPECT_EQ(window.maintext.text,
              joined({"8-Mar-2025 Predicting 60% UP for next trading day", "",
                      "Predictions of Direction. Average probability of predictions=60%.  "
                      "Actual percentage correct=0%",
                      "Percentage of successful price predictions, using predictions with 57% "
                      "confidence: 0%",
                      "Gain for these transactions on an intial investment of 1,000 is  0",
                      "Total gain per 1,000 on UP days:  0.  Gain per 1,000 on DOWN days:  0.    "
                      "NOTE: Losses not computed",
                      "Aurelant's Prices - Prediction Report for File:" + file, "", "",
                      "The probability of an UPWARDS movement is 60%", kDisclaimer}));
}

TEST_F(PredictionRunTest, UnitsComeFromTheFirstPredictingDay) {
    openFile(downThenUp(1, 27));  // the sixth day opens at 25
    predictDirection();
    EXPECT_NE(window.maintext.text.find("(40 units)"), std::string::npos);
    openFile(downThenUp(1, 32));
    predictDirection();
    EXPECT_NE(window.maintext.text.find("(33 units)"), std::string::npos);
}

TEST_F(PredictionRunTest, OnlyTheRecordsAfterDisplayfromAreCommented) {
    std::string content = downThenUp(0);
    content += "\n";
    content += kMixedDays;
    openFile(content, 8);  // the empty line is record 7, the mixed days start at record 8
    predictDirection();
    EXPECT_EQ(window.maintext.text.find("WARNING"), std::string::npos);
    EXPECT_EQ(window.maintext.text.find("01-02-2024"), std::string::npos);
    EXPECT_EQ(window.maintext.text.find("01-03-2024 Prediction of direction"), 0u);
}

TEST_F(PredictionRunTest, NoPredictionMadeEndsWithoutReport) {
    openFile(kMixedDays);
    predictDirection();
    ASSERT_TRUE(globals.predictiondone);
    window.strategyEnabled = true;
    window.recalcEnabled = true;
    openFile(downThenUp(0).substr(0, downThenUp(0).rfind("8-Mar")));  // five days only
    predictDirection();
    EXPECT_EQ(window.maintext.text,
              "\r\nNo Prediction carried out, so no prediction can be made\r\n");
    EXPECT_EQ(dataFile(), std::string(kHeader) + "\r\n");
    EXPECT_FALSE(globals.predictiondone);
    EXPECT_FALSE(window.strategyEnabled);
    EXPECT_FALSE(window.recalcEnabled);
    EXPECT_TRUE(globals.fileopen);
}

TEST_F(PredictionRunTest, RefusalsAndCancelChangeNothing) {
    window.click("PredictImage");
    EXPECT_NE(lastMessage().find("text=\"You must first open a file\""), std::string::npos);

    openFile(kMixedDays);
    platform.answers.push_back(Answer::Cancel);
    window.click("predictchange");
    EXPECT_EQ(window.maintext.text, "Data Panel");
    EXPECT_FALSE(fs::exists(folder / "savescreen1.tmp"));

    openFile("2004-01-05,10,11,9\n2004-01-06,10,11,9,10.5\n");
    predictDirection();
    EXPECT_NE(lastMessage().find("text=\"This file contains neither TAB nor COMMA field "
                                 "separators, and cannot be opened.\""),
              std::string::npos);
    EXPECT_EQ(window.maintext.text, "");
    EXPECT_FALSE(fs::exists(folder / "savescreen1.tmp"));
    EXPECT_TRUE(globals.fileopen);
}

TEST_F(PredictionRunTest, FailuresTakeTheErrorPathAndWithdrawTheLastPrediction) {
    const struct {
        std::string content;
        std::string description;
    } cases[] = {
        {"Date,Open,High,Low,Close\n" + std::string(kMixedDays), "Type mismatch"},
        {"2004-01-05,10,11,0,10.5\n", "Division by zero"},
        {"2004-01-05,10,-11,9,10.5\n", "Invalid argument"},
        {"", "Input past end of file"},
        {downThenUp(0).substr(0, downThenUp(0).rfind("8-Mar")) + "8-Mar-2025,0,1,0.5,0.8\n",
         "Division by zero"},  // the first predicting day opens at 0
        {kMixedDays + std::string("20240119,9.00,9.50,0,9.20\n"), "Division by zero"},
    };
    for (const auto& c : cases) {
        openFile(kMixedDays);
        predictMovement(10);
        ASSERT_TRUE(globals.predictiondone);
        window.recalcEnabled = true;
        openFile(c.content);
        predictMovement(10);
        SCOPED_TRACE(c.description);
        expectFailedRun(c.description);
    }
    // The table written before the failure stays, without a report.
    EXPECT_NE(dataFile().find("01-17-2024\tUp   \t51.5%"), std::string::npos);
    EXPECT_EQ(dataFile().find("Report"), std::string::npos);
}

}  // namespace
}  // namespace aurelant
