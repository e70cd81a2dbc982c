#include <gtest/gtest.h>

#include "common/errors.h"
#include "predict/direction.h"
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

}  // namespace
}  // namespace aurelant
