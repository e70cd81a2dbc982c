#include "common/calibration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace aurelant {
namespace {

// The normal quantile of a two-sided 95 % interval.
constexpr double kZ = 1.959963984540054;

// The probability as its shortest text reads, so that 56.7 stays 56.7 and not 56.70000076.
double statedValue(float probability) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, probability);
    double value = probability;
    std::from_chars(text, written.ptr, value);
    return value;
}

}  // namespace

Interval wilsonInterval(const Share& share) {
    if (share.predictions <= 0) {
        return {};
    }
    const double n = share.predictions;
    const double p = share.value();
    const double z2 = kZ * kZ;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = kZ / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

void Calibration::add(float probability, bool up, bool right, int year) {
    ++total_.predictions;
    total_.right += right ? 1 : 0;
    closedUp_ += up == right ? 1 : 0;
    ProbabilityShare& stated = bucket(probability);
    ++stated.share.predictions;
    stated.share.right += right ? 1 : 0;
    YearShare& made = yearBucket(year);
    ++made.share.predictions;
    made.share.right += right ? 1 : 0;
    made.probabilitySum += stated.probability;
}

ProbabilityShare& Calibration::bucket(float probability) {
    // A handful of probabilities at most: the table has 32 patterns.
    const auto found =
        std::find_if(byProbability_.begin(), byProbability_.end(),
                     [probability](const ProbabilityShare& stated) {
                         return static_cast<float>(stated.probability) >= probability;
                     });
    if (found != byProbability_.end() && static_cast<float>(found->probability) == probability) {
        return *found;
    }
    return *byProbability_.insert(found, {statedValue(probability), {}});
}

YearShare& Calibration::yearBucket(int year) {
    // Files run oldest first, so the year is nearly always the last one or a new one after it.
    if (byYear_.empty() || byYear_.back().year < year) {
        return byYear_.emplace_back(YearShare{year, {}, 0});
    }
    if (byYear_.back().year == year) {
        return byYear_.back();
    }
    const auto found = std::find_if(byYear_.begin(), byYear_.end(),
                                    [year](const YearShare& made) { return made.year >= year; });
    if (found != byYear_.end() && found->year == year) {
        return *found;
    }
    return *byYear_.insert(found, {year, {}, 0});
}

double Calibration::brier() const {
    if (judged() == 0) {
        return 0;
    }
    // Each probability's predictions score (p - 1)^2 when right and p^2 when not.
    double sum = 0;
    for (const ProbabilityShare& stated : byProbability_) {
        const double p = stated.probability / 100;
        sum += stated.share.right * (1 - p) * (1 - p) +
               (stated.share.predictions - stated.share.right) * p * p;
    }
    return sum / judged();
}

double Calibration::baseRate() const {
    return judged() > 0 ? static_cast<double>(closedUp_) / judged() : 0;
}

double Calibration::brierBaseRate() const {
    return baseRate() * (1 - baseRate());
}

std::optional<double> Calibration::skill() const {
    if (brierBaseRate() == 0) {
        return std::nullopt;
    }
    return 1 - brier() / brierBaseRate();
}

double Calibration::usualShare() const {
    return std::max(baseRate(), 1 - baseRate());
}

Share Calibration::shareFrom(double percent) const {
    Share share;
    for (const ProbabilityShare& stated : byProbability_) {
        if (stated.probability >= percent) {
            share.predictions += stated.share.predictions;
            share.right += stated.share.right;
        }
    }
    return share;
}

}  // namespace aurelant
