#pragma once

#include <array>
#include <string>

namespace aurelant {

struct Globals;

// A trading day's prices as numbers.
struct DayPrices {
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
};

// A prediction is made from this probability on, and counts as high-confidence from the next.
inline constexpr float kPredictionThreshold = 54;
inline constexpr float kHighConfidence = 57;
// The one table value that the final prediction reports as no change in price.
inline constexpr float kNoChangeValue = 50;

// Fills indexes 0..31 with the probability in percent that the day after a five-day pattern
// closes UP; index 32 stays 0.
void fillUpProbabilityTable(std::array<float, 33>& table);

// Moves rows 2..5 of `fivedays` up to rows 1..4 and puts the day into row 5.
void shiftIntoWindow(Globals& globals, const DayPrices& day);

// The UP percentage for the pattern of the five days in `fivedays`; sets `patterncode`.
float lookUpPattern(Globals& globals);

// The direction of a table value and that direction's probability (UP at 50 or more, DOWN with
// 100 - value below); sets `directionup` and `probability`.
struct Direction {
    bool up = true;
    float probability = 0;
};
Direction directionOf(float tableValue);
Direction decideDirection(Globals& globals, float tableValue);

// A probability as the prediction writes it: "57", "56.5".
std::string probabilityText(float probability);

// Which days with movement may take part after a day without movement: the four that follow it
// are skipped, the fifth is processed again; another day without movement restarts the count.
class MovementGate {
  public:
    // Whether the day is processed normally; false means it is skipped.
    bool admits(bool moved);

  private:
    bool waiting_ = false;
    int movedSinceReset_ = 0;
};

}  // namespace aurelant
