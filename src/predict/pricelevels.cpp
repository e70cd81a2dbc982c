#include "predict/pricelevels.h"

#include <cmath>

#include "common/numtext.h"
#include "predict/checkedmath.h"

namespace aurelant {
namespace {

constexpr double kDecay = 0.99;

}  // namespace

float RangeVolatility::update(double high, double low) {
    const double range = checkedLog(checkedDivide(high, low));
    weightedSquares_ = std::pow(range, 2.0) + kDecay * weightedSquares_;
    weights_ = 1 + kDecay * weights_;
    return static_cast<float>(std::sqrt(weightedSquares_ / weights_));
}

double levelPrice(double open, float volatility, double multiplier, bool up) {
    const double exponent = multiplier * static_cast<double>(volatility);
    return finiteValue(open * std::exp(up ? exponent : -exponent));
}

PriceLevels priceLevels(double open, float volatility, bool up, int decimals) {
    return {cutNumberText(levelPrice(open, volatility, kLevel75, up), decimals),
            cutNumberText(levelPrice(open, volatility, kLevel50, up), decimals),
            cutNumberText(levelPrice(open, volatility, kLevel25, up), decimals)};
}

}  // namespace aurelant
