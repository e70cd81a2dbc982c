#pragma once

#include <string>

namespace aurelant {

struct RunOutput;

// The counts and gains of a back-test.
struct BackTestTally {
    int predictionsMade = 0;  // 54 % or more, the last one (never judged) included
    double probabilitySum = 0;
    int right = 0;
    int reached = 0;
    int highConfidence = 0;  // judged predictions of 57 % or more
    int highConfidenceRight = 0;
    double upGain = 0;  // per unit, over the reached predictions
    double downGain = 0;
    double totalGain = 0;
};

// 100 * part / whole as the statistics write it: "66.66".
std::string percentOf(int part, int whole);

// The statistics lines of a direction-only run with at least one prediction made: on the screen
// and in the data file, ending the table with its line of equals signs.
void reportStatistics(const BackTestTally& tally, double units, RunOutput& output);

}  // namespace aurelant
