#include <gtest/gtest.h>

#include <cmath>

#include "common/errors.h"
#include "common/numtext.h"
#include "predict/pricelevels.h"

namespace aurelant {
namespace {

// The first day gives its own range, older days weigh less, a High equal to the Low gives zero.
TEST(RangeVolatility, WeighsOlderDaysLess) {
    RangeVolatility volatility;
    EXPECT_EQ(volatility.update(110, 100), static_cast<float>(std::log(1.1)));
    const double r = std::log(1.2);
    const double s = r * r + 0.99 * std::log(1.1) * std::log(1.1);
    EXPECT_EQ(volatility.update(120, 100), static_cast<float>(std::sqrt(s / 1.99)));
    RangeVolatility flat;
    flat.update(5, 5);
    EXPECT_EQ(flat.update(7.25, 7.25), 0.0f);
}

TEST(RangeVolatility, ALowOfZeroOrARatioWithoutLogarithmFails) {
    const auto failure = [](double high, double low) {
        try {
            RangeVolatility().update(high, low);
        } catch (const AppError& error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(failure(10, 0), programError(Failure::DivisionByZero).number());
    EXPECT_EQ(failure(0, 10), programError(Failure::InvalidArgument).number());
    EXPECT_EQ(failure(10, -10), programError(Failure::InvalidArgument).number());
}

TEST(PriceLevels, UpAndDownFromAnOpenOfHundred) {
    const PriceLevels up = priceLevels(100, 0.02f, true);
    EXPECT_EQ(up.level75, " 100.87");
    EXPECT_EQ(up.level50, " 101.24");
    EXPECT_EQ(up.level25, " 101.75");
    const PriceLevels down = priceLevels(100, 0.02f, false);
    EXPECT_EQ(down.level75, " 99.12");
    EXPECT_EQ(down.level50, " 98.77");
    EXPECT_EQ(down.level25, " 98.27");
}

TEST(PriceLevels, ZeroVolatilityOpensBelowOneAndOverflow) {
    EXPECT_EQ(levelPrice(42.5, 0, kLevel25, true), 42.5);
    EXPECT_EQ(priceLevels(42.5, 0, false).level75, " 42.5");
    EXPECT_EQ(priceLevels(0.5, 0.02f, true).level75, " .50");  // no zero before the point
    EXPECT_THROW(levelPrice(1e308, 100, kLevel25, true), AppError);
}

}  // namespace
}  // namespace aurelant
