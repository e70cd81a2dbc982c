#pragma once

#include <array>

namespace aurelant {

// Fills indexes 0..31 with the probability in percent that the day after a five-day pattern
// closes UP; index 32 stays 0.
void fillUpProbabilityTable(std::array<float, 33>& table);

}  // namespace aurelant
