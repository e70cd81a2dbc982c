#include "predict/fileprediction.h"

#include <new>

#include "common/numtext.h"
#include "predict/direction.h"
#include "predict/prediction.h"
#include "pricefile/historyformat.h"
#include "pricefile/historyread.h"

namespace aurelant {
namespace {

RunSettings settingsFor(const std::string& path, std::optional<double> open,
                        const std::string& lineEnd, ReportText report) {
    RunSettings settings;
    fillUpProbabilityTable(settings.upTable);
    settings.lineEnd = lineEnd;
    settings.file = path;
    settings.movementMode = open.has_value();
    settings.open = open.value_or(0);
    // No screen, data file or chart shows this run.
    settings.products = {false, false, false, report == ReportText::Made};
    return settings;
}

// The last line that the run reads as a record.
std::optional<std::string_view> latestRecord(const HistoryInMemory& history) {
    for (auto line = history.records.rbegin(); line != history.records.rend(); ++line) {
        if (splitRecord(*line, history.separator)) {
            return *line;
        }
    }
    return std::nullopt;
}

void takeResults(FilePrediction& file, const RunOutcome& outcome) {
    const BackTestTally& tally = outcome.tally;
    file.confidentPredictions = tally.highConfidence;
    file.confidentRight = tally.highConfidenceRight;
    file.percentRight =
        tally.highConfidence > 0 ? percentOf(tally.highConfidenceRight, tally.highConfidence) : "0";
    file.percentReached =
        tally.predictionsMade > 0 ? percentOf(tally.reached, tally.predictionsMade) : "0";
    file.predicted = outcome.predicted;
    file.calibration = outcome.calibration;
    if (!outcome.predicted) {
        file.report = trimmed(outcome.screen);
        return;
    }
    file.up = outcome.outlook.up;
    file.probability = outcome.outlook.probability;
    file.confident = outcome.model.probability >= kPredictionThreshold;
    file.levels = outcome.outlook.levels;
    file.report = outcome.report;
}

// predictHistoryFile, which catches what this throws.
FilePrediction predictFile(const std::string& path, std::optional<double> open,
                           const std::string& lineEnd, bool localeDayFirst, ReportText report) {
    FilePrediction file;
    const HistoryInMemory history = readHistoryInMemory(path, localeDayFirst);
    if (!history.taken()) {
        file.refusal = history.refusal;
        return file;
    }
    file.records = history.records.size();
    int levelDecimals = kCutDecimals;
    if (const std::optional<std::string_view> latest = latestRecord(history)) {
        file.lastDate = trimmed(latest->substr(0, latest->find(history.separator)));
        levelDecimals = priceDecimals(splitRecord(*latest, history.separator)->close);
        if (const std::optional<PlainRecord> plain = plainRecord(*latest, history.separator)) {
            file.latestClose = plain->prices[3];
        }
    }
    RunSettings settings = settingsFor(path, open, lineEnd, report);
    settings.separator = history.separator;
    settings.levelDecimals = levelDecimals;
    const RunOutcome outcome = predictFromRecords(history.records, history.prices, settings);
    if (outcome.failure) {
        file.refusal = outcome.failure->description();
        return file;
    }
    takeResults(file, outcome);
    return file;
}

}  // namespace

FilePrediction predictHistoryFile(const std::string& path, std::optional<double> open,
                                  const std::string& lineEnd, bool localeDayFirst,
                                  ReportText report) {
    try {
        return predictFile(path, open, lineEnd, localeDayFirst, report);
    } catch (const std::bad_alloc&) {
        // A shortage of memory refuses this file; the other files and the program go on.
        FilePrediction file;
        file.refusal = "out of memory while the file was read";
        return file;
    }
}

}  // namespace aurelant
