#include <gtest/gtest.h>

#include "app/globals.h"
#include "predict/direction.h"

namespace aurelant {
namespace {

class DirectionModel : public ::testing::Test {
  protected:
    DirectionModel() { fillUpProbabilityTable(globals.upprobtable); }

    // Days oldest first: 'U' closed above its Open, anything else did not.
    void feed(const std::string& days) {
        for (char day : days) {
            shiftIntoWindow(globals, {10, 11, 9, day == 'U' ? 10.5 : 10.0});
        }
    }

    Globals globals;
};

TEST_F(DirectionModel, WindowShiftsUpAndTheLatestDayGoesIntoRowFive) {
    globals.fivedays[5][0] = 37991;
    shiftIntoWindow(globals, {1, 2, 0.5, 1.5});
    shiftIntoWindow(globals, {3, 4, 2.5, 2});
    EXPECT_EQ(globals.fivedays[4], (std::array<double, 5>{0, 1, 2, 0.5, 1.5}));
    EXPECT_EQ(globals.fivedays[5], (std::array<double, 5>{37991, 3, 4, 2.5, 2}));
}

TEST_F(DirectionModel, PatternCodeWeighsTheLatestDayOne) {
    const struct {
        const char* days;
        std::int16_t code;
        float value;
    } cases[] = {{"-----", 0, 60},     {"UUUUU", 31, 50},    {"--U-U", 5, 43},
                 {"-UU--", 12, 50.5f}, {"-U-UU", 11, 49.5f}, {"U----", 16, 51.5f}};
    for (const auto& c : cases) {
        feed(c.days);
        EXPECT_EQ(lookUpPattern(globals), c.value) << c.days;
        EXPECT_EQ(globals.patterncode, c.code) << c.days;
    }
    // A day closing at its Open counts as not up.
    shiftIntoWindow(globals, {10, 11, 9, 10});
    EXPECT_EQ(lookUpPattern(globals), 60);
}

TEST_F(DirectionModel, BelowFiftyIsDownWithTheComplement) {
    EXPECT_FALSE(decideDirection(globals, 43).up);
    EXPECT_EQ(globals.probability, 57);
    EXPECT_FALSE(globals.directionup);
    EXPECT_EQ(decideDirection(globals, 49.5f).probability, 50.5f);
    EXPECT_TRUE(decideDirection(globals, 50).up);
    EXPECT_EQ(globals.probability, 50);
    EXPECT_TRUE(globals.directionup);
    EXPECT_EQ(probabilityText(57), "57");
    EXPECT_EQ(probabilityText(51.5f), "51.5");
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

}  // namespace
}  // namespace aurelant
