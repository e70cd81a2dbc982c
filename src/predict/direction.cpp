#include "predict/direction.h"

#include "common/numtext.h"
#include "state/globals.h"

namespace aurelant {
namespace {

constexpr int kWindowRows = 5;
constexpr int kDaysBeforeResume = 5;

}  // namespace

void fillUpProbabilityTable(std::array<float, 33>& table) {
    // By pattern code: bit 16 = oldest day closed above its Open ... bit 1 = latest day did.
    static constexpr std::array<float, 32> kUpPercent = {
        60,   53, 54, 49, 50, 43,   50, 48, 57, 47,   48.5, 49.5, 50.5, 49,   51.5, 47,
        51.5, 48, 47, 49, 54, 51.5, 55, 44, 56, 52.5, 47,   46,   57,   52.5, 54,   50};
    for (std::size_t code = 0; code < kUpPercent.size(); ++code) {
        table[code] = kUpPercent[code];
    }
    table[32] = 0;
}

void shiftIntoWindow(Globals& globals, const DayPrices& day) {
    auto& rows = globals.fivedays;
    for (int row = 1; row < kWindowRows; ++row) {
        for (int field = 1; field <= 4; ++field) {
            rows[row][field] = rows[row + 1][field];
        }
    }
    rows[kWindowRows][1] = day.open;
    rows[kWindowRows][2] = day.high;
    rows[kWindowRows][3] = day.low;
    rows[kWindowRows][4] = day.close;
}

float lookUpPattern(Globals& globals) {
    std::int16_t code = 0;
    std::int16_t weight = 1;
    for (int row = kWindowRows; row >= 1; --row, weight *= 2) {
        if (globals.fivedays[row][1] < globals.fivedays[row][4]) {
            code += weight;
        }
    }
    globals.patterncode = code;
    return globals.upprobtable[code];
}

Direction directionOf(float tableValue) {
    return tableValue < kNoChangeValue ? Direction{false, 100 - tableValue}
                                       : Direction{true, tableValue};
}

Direction decideDirection(Globals& globals, float tableValue) {
    const Direction direction = directionOf(tableValue);
    globals.directionup = direction.up;
    globals.probability = direction.probability;
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
