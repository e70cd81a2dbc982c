// The re-prediction from one or two prices seen after an Open of 100 with a volatility unit of
// 0.02: even chances, the UP fraction it leaves and the messages instead of a text. Its texts for
// each option are in the re-prediction scenario.
#include <gtest/gtest.h>

#include "repredict/reprediction.h"

namespace aurelant {
namespace {

Reprediction run(const std::string& first, const std::string& second, double d = 0.5,
                 OpenExtreme openIs = OpenExtreme::Neither, double open = 100,
                 float sigma = 0.02f) {
    return repredict({d, open, sigma, first, second, openIs, kCutDecimals, "\r\n"});
}

TEST(Reprediction, EqualChancesOfTwoPricesStillGiveTheLevels) {
    const Reprediction result = run("99", "101", 0.2507556086943028);
    EXPECT_FALSE(result.outlook);  // no direction for the chart
    const std::string& text = result.text;
    EXPECT_EQ(text.find("There is an equal probability that the price movement is UP or DOWN\r\n"
                        "\r\nIf the price goes up, and the Low is LESS THAN"),
              0u);
}

// Repeated presses keep moving the UP fraction, which never reaches 0 or 1.
TEST(Reprediction, RepeatedTwoPricePressesKeepTheFractionInside) {
    for (const auto& [first, second] : {std::pair{"99", "101"}, std::pair{"101", "99"}}) {
        double d = 0.5;
        for (int press = 0; press < 60; ++press) {
            const Reprediction result = run(first, second, d);
            ASSERT_TRUE(result.made()) << result.message;
            EXPECT_TRUE(result.upfraction > 0 && result.upfraction < 1);
            EXPECT_TRUE(press > 30 || result.upfraction != d);
            d = result.upfraction;
        }
    }
}

// Messages instead of a text; the UP fraction stays as it was.
TEST(Reprediction, EntriesThatGiveAMessage) {
    const std::string invalid = "You must have a valid price entered";
    const std::string overflow = "Error: Overflow: a number is out of range";
    const std::string divide = "Error: Division by zero";
    const std::string logarithm =
        "Error: Invalid argument: the logarithm of a value that is not positive";
    struct Case {
        std::string first, second, message;
        double d = 0.5, open = 100;
        float sigma = 0.02f;
    };
    const Case cases[] = {
        {"abc", "", invalid},
        {"-5", "", invalid},
        {" 0", "", invalid},
        {"0", "101", invalid},
        {"101", "-5", invalid},
        {"100", "",
         "You don't need to recalculate when the latest price is the same as the open price"},
        {"100.5", "",
         "There is now a 50% probability of upwards movement and a 50% probability of "
         "downwards. No price predctions are possible under these conditions.",
         0.28011573716142346},
        {"abc", "0",
         "You don't need to recalculate when the latest price is the same as the previous price"},
        // A misplaced decimal point and numbers beyond the double range.
        {"1,005", "", overflow},
        {"1e400", "", overflow},
        {std::string(5000, '9'), "", overflow},
        {"101", "1e400", overflow},
        {"101", "", divide, 0.5, 100, 0},
        {"101", "99", divide, 0.5, 100, 0},
        // Both prices so far from the Open that both weights vanish.
        {"0.001", "100000", divide},
        {"101", "", logarithm, 0.5, -100},
        {"101", "99", logarithm, 0.5, -100}};
    for (const Case& c : cases) {
        const Reprediction result =
            run(c.first, c.second, c.d, OpenExtreme::Neither, c.open, c.sigma);
        EXPECT_EQ(result.message, c.message) << c.first << " / " << c.second;
        EXPECT_EQ(result.text, "");
        EXPECT_EQ(result.upfraction, c.d);
    }
}

}  // namespace
}  // namespace aurelant
