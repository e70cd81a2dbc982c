#include "predict/direction.h"

namespace aurelant {

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

}  // namespace aurelant
