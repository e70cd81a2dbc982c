#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace aurelant {

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

// By pattern code, the probability in percent that the day after a five-day pattern closes UP;
// index 32 is 0.
using UpProbabilityTable = std::array<float, 33>;
void fillUpProbabilityTable(UpProbabilityTable& table);

// The direction of a table value and that direction's probability (UP at 50 or more, DOWN with
// 100 - value below).
struct Direction {
    bool up = true;
    float probability = 0;
};
Direction directionOf(float tableValue);

// What the direction model holds: the last five days with movement (row 4 the latest) and what it
// found last, which the re-prediction, the strategy and the five-day panel carry on with.
struct ModelState {
    std::array<DayPrices, 5> days{};
    std::int16_t patterncode = 0;
    float rangevolatility = 0;
    double upfraction = 0;  // the UP share of the last back-test prediction
    bool directionup = false;
    float probability = 0;

    // Moves the days up by one and puts `day` last.
    void shiftIn(const DayPrices& day);
    // The UP percentage for the pattern of the five days; sets `patterncode`.
    float lookUpPattern(const UpProbabilityTable& table);
    // The direction of a table value; sets `directionup` and `probability`.
    Direction decide(float tableValue);
};

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
