#include "repredict/reprediction.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/errors.h"
#include "common/numtext.h"
#include "predict/checkedmath.h"

namespace aurelant {
namespace {

constexpr const char* kInvalidPrice = "You must have a valid price entered";
constexpr const char* kSameAsOpen =
    "You don't need to recalculate when the latest price is the same as the open price";
constexpr const char* kSameAsPrevious =
    "You don't need to recalculate when the latest price is the same as the previous price";
constexpr const char* kEvenChances =
    "There is now a 50% probability of upwards movement and a 50% probability of downwards. No "
    "price predctions are possible under these conditions.";

// One value for each of the 75, 50 and 25 % levels.
using Triple = std::array<double, 3>;

// Level factors in volatility units: the Open taken as nothing special, or as the day's Low
// (High) when the price has moved up (down) from it.
constexpr Triple kPlainFactors{0.43771, 0.617, 0.86973};
constexpr Triple kExtremeFactors{0.69407, 0.95, 1.3003};
// Level multipliers once a turning point is known.
constexpr Triple kTurningPointMultipliers{0.7306, 1, 1.36874};

// Floating point raises nothing by itself: every step that can overflow or be undefined is
// checked, so that no infinity or NaN reaches the text.
double power(double base, double exponent) {
    return finiteValue(std::pow(base, exponent));
}

double exponential(double value) {
    return finiteValue(std::exp(value));
}

// The 75/50/25 % points of a tail of the given shape; each mode spells one third its own way.
Triple quantileMultipliers(double oneThird, double shape) {
    return {power(oneThird, 1 / shape), 1, power(3, 1 / shape)};
}

// Scale and shape of the tail at a volatility distance z.
double scaleAt(double z) {
    return (0.617 + 1.75 * z) / (1 + 5 * z);
}

double shapeAt(double z, double shapeAtZero) {
    return (shapeAtZero + 8 * z) / (1 + 4 * z);
}

double turningPointScaleAt(double z) {
    return (0.95 + 2.96298695 * z) / (1 + 8.465677 * z);
}

// Volatility distance between two prices.
double distance(double logRatio, double sigma) {
    return checkedDivide(std::abs(logRatio), sigma);
}

// The Open moved up or down by `unit` times each multiplier, in the exponent.
Triple levels(double open, bool up, double unit, const Triple& multipliers) {
    Triple result{};
    for (std::size_t i = 0; i < result.size(); ++i) {
        const double factor = exponential(unit * multipliers[i]);
        result[i] = up ? finiteValue(open * factor) : checkedDivide(open, factor);
    }
    return result;
}

// A level as the text writes it: cut to the decimals of the file's prices.
std::string levelText(double level, const RepredictionInput& input) {
    return trimmedCutText(level, input.priceDecimals);
}

// The three lines "<lead>75% probability that the price will <verb><level>", 50 and 25 %.
std::string levelLines(const char* lead, const char* verb, const Triple& levels,
                       const RepredictionInput& input) {
    static constexpr std::array<const char*, 3> kPercents{"75", "50", "25"};
    std::string lines;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        lines += (i == 0 ? "" : input.crlf) + lead + kPercents[i] +
                 "% probability that the price will " + verb + levelText(levels[i], input);
    }
    return lines;
}

// The levels as the text writes them, for the price chart.
Outlook outlookOf(const RepredictionInput& input, bool up, const std::string& chance,
                  const Triple& found) {
    return {up, chance,
            PredictedLevels{trimmedNumberText(input.open),
                            {levelText(found[0], input), levelText(found[1], input),
                             levelText(found[2], input)}}};
}

Reprediction refusal(const RepredictionInput& input, const std::string& message) {
    return {"", message, input.upfraction};
}

// The UP probability in percent once the price stands z units above or below the Open.
double upPercentAfter(double d, double z, bool above) {
    const double tail = 1 + power(z / 0.617, 3.2);
    const double x = above ? finiteValue((1 - d) * exponential(-4 * z) * tail)
                           : checkedDivide((1 - d) * exponential(4 * z), tail);
    return checkedDivide(100 * d, d + x);
}

Reprediction onePrice(const RepredictionInput& input, double price) {
    if (price <= 0) {
        return refusal(input, kInvalidPrice);
    }
    if (price == input.open) {
        return refusal(input, kSameAsOpen);
    }
    const double open = input.open;
    const double sigma = input.volatility;
    const double z = distance(checkedLog(price) - checkedLog(open), sigma);
    const bool above = price > open;
    const double upPercent = upPercentAfter(input.upfraction, z, above);
    if (upPercent == 50) {
        return refusal(input, kEvenChances);
    }
    const bool up = upPercent > 50;
    const std::string& crlf = input.crlf;
    const std::string chance = plainCutText(up ? upPercent : 100 - upPercent);
    std::string text = std::string("If the price goes ") + (up ? "up" : "down") +
                       " (there is now a " + chance +
                       "% it will), then the following probabilities exist:" + crlf + crlf;
    Triple found{};
    // The price moved the way now more likely: the Open may be the day's Low (High).
    if (above == up) {
        const OpenExtreme extreme = up ? OpenExtreme::Low : OpenExtreme::High;
        const Triple& factors = input.openIs == extreme ? kExtremeFactors : kPlainFactors;
        found = levels(open, up, sigma, factors);
        text += levelLines("There is a ", "go to ", found, input);
        const double beyond = checkedDivide(100, 1 + power(z / 0.95, 3.5));
        text += crlf + crlf +
                (up ? "The probability of a 'High' which is higher than the latest price of "
                    : "The probability of a 'Low' which is lower than the latest price of ") +
                trimmedNumberText(price) + ", is " + plainCutText(beyond) + "%";
    } else {
        const Triple multipliers = quantileMultipliers(1.0 / 3, shapeAt(z, 3.2));
        found = levels(open, up, sigma * scaleAt(z), multipliers);
        text += levelLines("There is a ", "go to ", found, input);
    }
    return {text, "", input.upfraction, outlookOf(input, up, chance, found)};
}

// The chance of the more likely direction, in percent as the text writes it.
std::string likelierChance(double upChance) {
    return plainCutText(upChance > 0.5 ? 100 * upChance : 100 - 100 * upChance);
}

std::string directionLine(double upChance) {
    if (upChance > 0.5) {
        return "Probability that price movement is UP is now " + likelierChance(upChance) + "%";
    }
    if (upChance < 0.5) {
        return "Probability that price movement is DOWN is now " + likelierChance(upChance) + "%";
    }
    return "There is an equal probability that the price movement is UP or DOWN";
}

// The UP fraction after a turning point. Rounding would reach 0 or 1 after some dozens of
// presses in one direction, and there no later price could move it again: it stays inside.
double turningPointUpdate(double d, bool lowPoint) {
    const double updated = lowPoint ? checkedDivide(3 * d, 2 * d + 1) : checkedDivide(d, 3 - 2 * d);
    return std::clamp(updated, std::nextafter(0.0, 1.0), std::nextafter(1.0, 0.0));
}

// The day's range so far: its two prices and their volatility distances from the Open.
struct Range {
    double lo;
    double hi;
    double zl;
    double zh;
};

double upChanceWithin(const Range& range, double d) {
    const double upWeight =
        finiteValue(d * exponential(-4 * range.zl) *
                    (1 + power(range.zl / scaleAt(range.zh), shapeAt(range.zh, 3.3))));
    const double downWeight =
        finiteValue((1 - d) * exponential(-4 * range.zh) *
                    (1 + power(range.zh / scaleAt(range.zl), shapeAt(range.zl, 3.2))));
    return checkedDivide(upWeight, downWeight + upWeight);
}

// The levels of the general up and down blocks, which do not ask whether a price was the day's
// Low or High.
struct GeneralLevels {
    Triple up;
    Triple down;
};

GeneralLevels generalLevels(const RepredictionInput& input, const Range& range) {
    const double sigma = input.volatility;
    const Triple upMultipliers = quantileMultipliers(0.333333, shapeAt(range.zl, 3.2));
    const Triple downMultipliers = quantileMultipliers(0.3333333333, shapeAt(range.zh, 3.3));
    return {levels(input.open, true, sigma * scaleAt(range.zl), upMultipliers),
            levels(input.open, false, sigma * scaleAt(range.zh), downMultipliers)};
}

// The level blocks after the direction line; `lowFirst` when the first price was the low.
std::string levelBlocks(const RepredictionInput& input, const Range& range, bool lowFirst,
                        double second, const GeneralLevels& general) {
    const double open = input.open;
    const double sigma = input.volatility;
    const std::string& crlf = input.crlf;
    const std::string blockEnd = crlf + crlf;
    std::string text = "If the price goes up, and the Low is LESS THAN OR EQUAL to " +
                       trimmedNumberText(range.lo) +
                       ", then the following probabilities exist:" + blockEnd +
                       levelLines("A ", "exceed ", general.up, input) + blockEnd;
    if (lowFirst) {
        const double c = turningPointScaleAt(range.zl);
        text += "If the price goes up, and the Low is EQUAL to " + trimmedNumberText(range.lo) +
                ", then the following probabilities exist:" + blockEnd +
                levelLines("A ", "exceed ", levels(open, true, sigma * c, kTurningPointMultipliers),
                           input) +
                crlf + "AND - the probability of a High higher than " + trimmedNumberText(second) +
                " is " + plainCutText(checkedDivide(100, 1 + power(range.zh / c, 3.5))) + "%" +
                blockEnd;
    }
    text += "If the price goes down, and the High is GREATER THAN OR EQUAL to " +
            trimmedNumberText(range.hi) + ", then the following probabilies exist:" + blockEnd +
            levelLines("A ", "fall below ", general.down, input) + blockEnd;
    if (!lowFirst) {
        const double c = turningPointScaleAt(range.zh);
        text += "If the price goes down, and the High is EQUAL to " + trimmedNumberText(range.hi) +
                ", then the following probabilities will exist:" + blockEnd +
                levelLines("A ", "fall below ",
                           levels(open, false, sigma * c, kTurningPointMultipliers), input) +
                blockEnd;
    }
    return text;
}

Reprediction twoPrices(const RepredictionInput& input, double first, double second) {
    if (first == second) {
        return refusal(input, kSameAsPrevious);
    }
    if (first <= 0 || second <= 0) {
        return refusal(input, kInvalidPrice);
    }
    // A rise after the first price makes it the day's low point so far, a fall its high point.
    const bool lowFirst = second > first;
    const double d = turningPointUpdate(input.upfraction, lowFirst);
    Range range{std::min(first, second), std::max(first, second), 0, 0};
    range.zl = distance(checkedLog(checkedDivide(range.lo, input.open)), input.volatility);
    range.zh = distance(checkedLog(checkedDivide(range.hi, input.open)), input.volatility);
    const double upChance = upChanceWithin(range, d);
    const GeneralLevels general = generalLevels(input, range);
    const std::string text = directionLine(upChance) + input.crlf + input.crlf +
                             levelBlocks(input, range, lowFirst, second, general);
    if (upChance == 0.5) {
        return {text, "", d};
    }
    const bool up = upChance > 0.5;
    return {text, "", d,
            outlookOf(input, up, likelierChance(upChance), up ? general.up : general.down)};
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

Reprediction repredict(const RepredictionInput& input) {
    try {
        const double first = leadingNumber(input.firstPrice);
        if (isBlank(input.secondPrice)) {
            return onePrice(input, first);
        }
        return twoPrices(input, first, leadingNumber(input.secondPrice));
    } catch (const AppError& error) {
        return refusal(input, errorMessage(ErrorWording::Plain, error));
    }
}

}  // namespace aurelant
