#include "predict/direction.h"

#include <algorithm>

#include "common/numtext.h"

namespace aurelant {
namespace {

constexpr int kDaysBeforeResume = 5;

}  // namespace

void fillUpProbabilityTable(UpProbabilityTable& table) {
    // By pattern code: bit 16 = oldest day closed above its Open ... bit 1 = latest day did.
    static constexpr std::array<float, 32> kUpPercent = {
        60,   53, 54, 49, 50, 43,   50, 48, 57, 47,   48.5, 49.5, 50.5, 49,   51.5, 47,
        51.5, 48, 47, 49, 54, 51.5, 55, 44, 56, 52.5, 47,   46,   57,   52.5, 54,   50};
    for (std::size_t code = 0; code < kUpPercent.size(); ++code) {
        table[code] = kUpPercent[code];
    }
    table[32] = 0;
}

void ModelState::shiftIn(const DayPrices& day) {
    std::shift_left(days.begin(), days.end(), 1);
    days.back() = day;
}

float ModelState::lookUpPattern(const UpProbabilityTable& table) {
    std::int16_t code = 0;
    std::int16_t weight = 1;
    for (auto day = days.rbegin(); day != days.rend(); ++day, weight *= 2) {
        if (day->open < day->close) {
            code += weight;
        }
    }
    patterncode = code;
    return table[code];
}

Direction directionOf(float tableValue) {
    return tableValue < kNoChangeValue ? Direction{false, 100 - tableValue}
                                       : Direction{true, tableValue};
}

Direction ModelState::decide(float tableValue) {
    const Direction direction = directionOf(tableValue);
    directionup = direction.up;
    probability = direction.probability;
    return direction;
}

std::string probabilityText(float probability) {
    return trimmed(singleText(probability));
}

bool MovementGate::admits(bool moved) {
    if (!moved) {
        waiting_ = true;
        movedSinceReset_ = 0;
        return false;
    }
    if (!waiting_) {
        return true;
    }
    if (++movedSinceReset_ >= kDaysBeforeResume) {
        waiting_ = false;
        movedSinceReset_ = 0;
        return true;
    }
    return false;
}

}  // namespace aurelant
