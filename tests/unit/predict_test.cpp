#include <gtest/gtest.h>

#include "chart/reliability.h"
#include "common/calibration.h"
#include "common/errors.h"
#include "predict/direction.h"
#include "predict/prediction.h"
#include "predict/pricelevels.h"
#include "predict/report.h"

namespace aurelant {
namespace {

class DirectionModel : public ::testing::Test {
  protected:
    // Days oldest first: 'U' closed above its Open, anything else did not.
    void feed(const std::string& days) {
        for (char day : days) {
            model.shiftIn({10, 11, 9, day == 'U' ? 10.5 : 10.0});
        }
    }

    ModelState model;
};

// The latest day weighs one; a day closing at its Open counts as not up.
TEST_F(DirectionModel, ADayClosingAtItsOpenIsNotUp) {
    feed("UUUU-");
    UpProbabilityTable table;
    fillUpProbabilityTable(table);
    model.lookUpPattern(table);
    EXPECT_EQ(model.patterncode, 30);
}

TEST(MovementGate, SkipsTheFourDaysAfterADayWithoutMovement) {
    MovementGate gate;
    EXPECT_TRUE(gate.admits(true));
    EXPECT_FALSE(gate.admits(false));
    for (int day = 1; day <= 4; ++day) {
        EXPECT_FALSE(gate.admits(true)) << day;
    }
    EXPECT_TRUE(gate.admits(true));
    EXPECT_TRUE(gate.admits(true));
    // Another day without movement during the wait restarts the count.
    for (const bool moved : {false, true, true, false, true, true, true, true}) {
        EXPECT_FALSE(gate.admits(moved));
    }
    EXPECT_TRUE(gate.admits(true));
}

TEST(PriceLevels, ZeroVolatilityOpensBelowOneAndOverflow) {
    EXPECT_EQ(levelPrice(42.5, 0, kLevel25, true), 42.5);
    EXPECT_EQ(priceLevels(42.5, 0, false, 2).level75, " 42.5");
    EXPECT_EQ(priceLevels(0.5, 0.02f, true, 2).level75, " .50");  // no zero before the point
    // A currency pair keeps its five decimals: 1.10607 * exp(0.438 * 0.02) = 1.11580...
    EXPECT_EQ(priceLevels(1.10607, 0.02f, true, 5).level75, " 1.11580");
    EXPECT_THROW(levelPrice(1e308, 100, kLevel25, true), AppError);
}

// A CR or LF in the file's name must not start a line of the data file or of the saves made of it.
TEST(PredictionReport, TheFileNameStaysOnOneLine) {
    const FinalPrediction prediction{"two\r\nlines.csv", true, 60, false, 0, {}};
    EXPECT_EQ(finalDataLines(prediction)[0],
              "Aurelant's Prices - Prediction Report for File: TWO\\r\\nLINES.CSV");
}

// The calibration of a direction-only run over `days`, one letter a day from 19-Dec-2003 on:
// 'D' closes down with a wide range, 'd' down with a narrow one, 'U' and 'u' up alike. A wide day
// reaches any 75 % level, a narrow one none.
Calibration calibrationOf(const std::string& days) {
    static const std::vector<std::string> dates = {
        "19-Dec-2003", "22-Dec-2003", "23-Dec-2003", "24-Dec-2003", "26-Dec-2003", "29-Dec-2003",
        "30-Dec-2003", "31-Dec-2003", "02-Jan-2004", "05-Jan-2004", "06-Jan-2004", "07-Jan-2004"};
    std::vector<std::string> lines;
    for (std::size_t day = 0; day < days.size(); ++day) {
        const bool wide = days[day] == 'D' || days[day] == 'U';
        const bool up = days[day] == 'U' || days[day] == 'u';
        lines.push_back(dates.at(day) + (wide ? ",10,11,9," : ",10,10.2,9.9,") +
                        (up ? (wide ? "10.5" : "10.1") : (wide ? "9.5" : "9.95")));
    }
    RunSettings settings;
    fillUpProbabilityTable(settings.upTable);
    std::size_t next = 0;
    RunOutcome outcome = predictFromLines(
        [&](std::string_view& line) { return next < lines.size() && (line = lines[next++], true); },
        settings);
    EXPECT_FALSE(outcome.failure);
    return std::move(outcome.calibration);
}

// Worked by hand: from the sixth day on, each day predicts the next from its last five. Made and
// judged: 29-Dec UP 60 % (the narrow down day: FALSE), 30-Dec and 31-Dec UP 60 % (wide days:
// TRUE), 05-Jan UP 54 % (TRUE), 06-Jan DOWN 57 % (the narrow up day: FALSE, so it closed up).
TEST(Calibration, FiguresOfASmallBackTest) {
    const Calibration calibration = calibrationOf("DDDDDDdDUDUu");
    EXPECT_EQ(calibration.judged(), 5);
    EXPECT_EQ(calibration.total().right, 3);
    // (.36 + .16 + .16 + .46^2 + .57^2) / 5
    EXPECT_NEAR(calibration.brier(), 0.2433, 1e-12);
    EXPECT_DOUBLE_EQ(calibration.baseRate(), 0.8);
    EXPECT_NEAR(calibration.brierBaseRate(), 0.16, 1e-12);
    EXPECT_NEAR(*calibration.skill(), 1 - 0.2433 / 0.16, 1e-12);
    EXPECT_DOUBLE_EQ(calibration.usualShare(), 0.8);
    const std::vector<std::tuple<double, int, int>> byProbability = {
        {54, 1, 1}, {57, 1, 0}, {60, 3, 2}};
    ASSERT_EQ(calibration.byProbability().size(), byProbability.size());
    for (std::size_t index = 0; index < byProbability.size(); ++index) {
        const ProbabilityShare& stated = calibration.byProbability()[index];
        EXPECT_EQ(std::tuple(stated.probability, stated.share.predictions, stated.share.right),
                  byProbability[index]);
    }
    ASSERT_EQ(calibration.byYear().size(), 2u);
    EXPECT_EQ(calibration.byYear()[0].year, 2003);
    EXPECT_EQ(calibration.byYear()[0].share.right, 2);
    EXPECT_DOUBLE_EQ(calibration.byYear()[0].meanProbability(), 60);
    EXPECT_EQ(calibration.byYear()[1].year, 2004);
    EXPECT_EQ(calibration.byYear()[1].share.predictions, 2);
    EXPECT_DOUBLE_EQ(calibration.byYear()[1].meanProbability(), 55.5);
    EXPECT_EQ(calibration.shareFrom(57).predictions, 4);
    EXPECT_EQ(calibration.shareFrom(57).right, 2);
}

// Every judged day went up and came true: no usual share to beat, so no skill.
TEST(Calibration, EveryPredictionTrueAndNoneJudged) {
    const Calibration allTrue = calibrationOf("DDDDDDDD");
    EXPECT_EQ(allTrue.judged(), 2);
    EXPECT_EQ(allTrue.total().right, 2);
    EXPECT_NEAR(allTrue.brier(), 0.16, 1e-12);
    EXPECT_EQ(allTrue.brierBaseRate(), 0);
    EXPECT_FALSE(allTrue.skill());
    // The sixth day's prediction is the last one, never judged.
    const Calibration noneJudged = calibrationOf("DDDDDD");
    EXPECT_EQ(noneJudged.judged(), 0);
    EXPECT_EQ(noneJudged.brier(), 0);
    EXPECT_FALSE(noneJudged.skill());
    EXPECT_TRUE(noneJudged.byProbability().empty());
    EXPECT_TRUE(noneJudged.byYear().empty());
}

TEST(Calibration, WilsonIntervals) {
    const std::vector<std::tuple<Share, double, double>> intervals = {
        {{0, 0}, 0, 1}, {{3, 2}, 0.2077, 0.9385}, {{10, 10}, 0.7225, 1}, {{10, 0}, 0, 0.2775}};
    for (const auto& [share, low, high] : intervals) {
        EXPECT_NEAR(wilsonInterval(share).low, low, 1e-4) << share.predictions;
        EXPECT_NEAR(wilsonInterval(share).high, high, 1e-4) << share.predictions;
    }
}

// 70 of 100 right against a usual share of 50 %: the interval 60.4-78.1 % lies above it.
TEST(Calibration, TheVerdictWeighsTheConfidentShareAgainstTheUsualOne) {
    EXPECT_NE(reliabilityVerdict(Calibration()).find("not yet judged"), std::string::npos);
    Calibration better;
    Calibration worse;
    for (int index = 0; index < 100; ++index) {
        better.add(60, index < 50, index % 10 < 7, 2020);
        worse.add(54, true, index < 30, 2020);
    }
    EXPECT_EQ(reliabilityVerdict(better),
              "On this file the predictions of 57 % or more came true 70.0 % of the time (95 %: "
              "60.4–78.1 %), against 50.0 % for always betting on the file's usual "
              "direction: better than the usual share.");
    EXPECT_EQ(reliabilityVerdict(worse),
              "On this file the predictions (none reached 57 %) came true 30.0 % of the time "
              "(95 %: 21.9–39.6 %), against 70.0 % for always betting on the file's usual "
              "direction: worse than the usual share.");
}

TEST(Calibration, TheShareRightOverTheLast250) {
    std::vector<JudgedPrediction> judged(kRecentWindow, {0, "05-Jan-2004", true, 60, true});
    judged.push_back({0, "06-Jan-2004", false, 54, false});
    const std::vector<RecentShare> shares = recentShares(judged);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0].judged, 250u);
    EXPECT_EQ(shares[0].percentRight, 100);
    EXPECT_EQ(shares[1].date, "06-Jan-2004");
    EXPECT_DOUBLE_EQ(shares[1].percentRight, 99.6);
    EXPECT_NEAR(shares[1].meanProbability, (249 * 60 + 54) / 250.0, 1e-9);
    judged.resize(kRecentWindow - 1);
    EXPECT_TRUE(recentShares(judged).empty());
}

}  // namespace
}  // namespace aurelant
