#include "predict/statistics.h"

#include <string>

#include "common/numtext.h"
#include "predict/checkedmath.h"
#include "predict/runoutput.h"

namespace aurelant {
namespace {

constexpr int kTableRuleLength = 55;

std::string gainText(double units, double perUnit) {
    return cutNumberText(finiteValue(units * perUnit));
}

void reportHighConfidence(const BackTestTally& tally, RunOutput& output) {
    if (tally.highConfidence <= 0 || tally.highConfidenceRight <= 0) {
        return;
    }
    const std::string count = trimmedNumberText(tally.highConfidence);
    const std::string right = trimmedNumberText(tally.highConfidenceRight);
    const std::string percent = percentOf(tally.highConfidenceRight, tally.highConfidence);
    output.screen.append(
        "Predictions of Direction: Number of predictions with at least 57% confidence: " + count +
        ". Number of these correct: " + right + ". Percentage correct=" + percent + "%" +
        output.crlf);
    output.dataFile.writeLine("No. of predictions of direction with 57% confidence=" + count +
                              ". Number correct=" + right + ". Percentage correct=" + percent +
                              "%");
}

}  // namespace

std::string percentOf(int part, int whole) {
    return trimmedCutText(100.0 * part / whole);
}

void reportStatistics(const BackTestTally& tally, double units, RunOutput& output) {
    const std::string average = trimmedCutText(tally.probabilitySum / tally.predictionsMade);
    const std::string directionPercent = percentOf(tally.right, tally.predictionsMade);
    const std::string pricePercent = percentOf(tally.reached, tally.predictionsMade);
    const std::string& crlf = output.crlf;

    output.screen.append(crlf);
    reportHighConfidence(tally, output);
    output.screen.append("Predictions of Direction. Average probability of predictions=" + average +
                         "%.  Actual percentage correct=" + directionPercent + "%" + crlf);
    output.dataFile.writeLine("Average probability of predictions of direction: " + average +
                              "%.  Actual percentage correct=" + directionPercent + "%");
    const std::string priceLine =
        "Percentage of successful price predictions, using predictions with 57% confidence: " +
        pricePercent + "%";
    output.screen.append(priceLine + crlf);
    output.dataFile.writeLine(priceLine);
    output.screen.append("Gain for these transactions on an intial investment of 1,000 is " +
                         gainText(units, tally.totalGain) + crlf +
                         "Total gain per 1,000 on UP days: " + gainText(units, tally.upGain) +
                         ".  Gain per 1,000 on DOWN days: " + gainText(units, tally.downGain) +
                         ".    NOTE: Losses not computed" + crlf);
    output.dataFile.writeLine(std::string(kTableRuleLength, '='));
}

}  // namespace aurelant
