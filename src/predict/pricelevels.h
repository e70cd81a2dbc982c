#pragma once

#include <string>

namespace aurelant {

// Multipliers of the volatility for the levels that the day's High (UP) or Low (DOWN) passes
// with 75 %, 50 % and 25 % probability.
inline constexpr double kLevel75 = 0.438;
inline constexpr double kLevel50 = 0.617;
inline constexpr double kLevel25 = 0.87;

// An exponentially weighted root-mean-square of the daily logarithmic range ln(High / Low):
// each day's squared range weighs 0.99 to the power of its age in processed days.
class RangeVolatility {
  public:
    // Takes in one day and returns the new volatility. Throws AppError for a Low of zero and
    // for a ratio High / Low that has no logarithm.
    float update(double high, double low);

  private:
    double weightedSquares_ = 0;
    double weights_ = 0;
};

// open * exp(+multiplier * volatility) for UP, exp(-multiplier * volatility) for DOWN.
double levelPrice(double open, float volatility, double multiplier, bool up);

// The three levels of the final prediction, as texts cut to `decimals` with their leading blanks.
struct PriceLevels {
    std::string level75;
    std::string level50;
    std::string level25;
};
PriceLevels priceLevels(double open, float volatility, bool up, int decimals);

}  // namespace aurelant
