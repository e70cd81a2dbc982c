#include "predict/prediction.h"

#include <array>
#include <utility>

#include "common/dates.h"
#include "common/numtext.h"
#include "predict/backtest.h"
#include "predict/report.h"
#include "predict/runoutput.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

constexpr const char* kDataFileHeader =
    "Date    \tDirectn\tProb\tPred?\tRight?\tPredict\tActual\tPrice Reached?";

// One run: reads the records, back-tests, reports.
class PredictionRun {
  public:
    PredictionRun(const RunSettings& settings, RunOutcome& outcome)
        : settings_(settings),
          outcome_(outcome),
          dataFile_(settings.products.dataLines),
          output_{outcome.screen,       dataFile_,
                  settings.lineEnd,     !settings.movementMode,
                  settings.displayFrom, settings.products.screen},
          backTest_(settings.upTable, outcome.model, output_, settings.levelDecimals,
                    settings.products.judged) {}

    // Leaves the data file's lines in the outcome however the run ends.
    ~PredictionRun() { outcome_.dataLines = std::move(dataFile_.text()); }
    PredictionRun(const PredictionRun&) = delete;
    PredictionRun& operator=(const PredictionRun&) = delete;

    void start() { dataFile_.writeLine(kDataFileHeader); }

    void record(std::string_view line) { handleRecord(++outcome_.lastRecord, line); }

    // A line whose prices were read already, as plainRecord reads them.
    void day(std::string_view line, const std::array<double, 4>& prices) {
        handleDay(++outcome_.lastRecord, line.substr(0, line.find(settings_.separator)), prices);
    }

    void finish() {
        outcome_.tally = backTest_.tally();
        outcome_.units = backTest_.units();
        outcome_.judged = backTest_.takeJudged();
        outcome_.calibration = backTest_.takeCalibration();
        if (outcome_.tally.predictionsMade == 0) {
            outcome_.screen.append(settings_.lineEnd +
                                   "No Prediction carried out, so no prediction can be made" +
                                   settings_.lineEnd);
            return;
        }
        if (output_.directionOnly) {
            reportStatistics(outcome_.tally, outcome_.units, output_);
        }
        finishPrediction();
    }

  private:
    void handleRecord(long recordNumber, std::string_view line) {
        // Nearly every line of a price file is read in one pass; the others are split and read
        // field by field, which also reports a bad price.
        if (const std::optional<PlainRecord> record = plainRecord(line, settings_.separator)) {
            handleDay(recordNumber, record->date, record->prices);
            return;
        }
        const std::optional<PriceRecord> record = splitRecord(line, settings_.separator);
        if (!record) {
            if (output_.shows(recordNumber)) {
                outcome_.screen.append(settings_.lineEnd + "WARNING: Record number " +
                                       numberText(static_cast<double>(recordNumber)) +
                                       " was invalid, and was skipped" + settings_.lineEnd);
            }
            return;
        }
        handleDay(recordNumber, record->date, recordPrices(*record, recordNumber));
    }

    // `date` as the line has it (or already rearranged): a compact one is rearranged here, others
    // are passed on as views and copied only where a line is written or shown.
    void handleDay(long recordNumber, std::string_view date, const std::array<double, 4>& prices) {
        if (isCompactDate(date)) {
            rearrangedDate_ = rearrangeCompactDate(date);
            date = rearrangedDate_;
        }
        const auto [open, high, low, close] = prices;
        if (!gate_.admits(close != open)) {
            backTest_.skipDay(recordNumber, date);
            return;
        }
        backTest_.processDay(recordNumber, date, {open, high, low, close});
    }

    FinalPrediction finalPrediction() {
        ModelState& model = outcome_.model;
        const float tableValue = model.lookUpPattern(settings_.upTable);
        if (tableValue == kNoChangeValue) {
            outcome_.screen.append(noChangeNotice(settings_.lineEnd));
            dataFile_.writeLine(noChangeDataLine());
        }
        const Direction direction = model.decide(tableValue);
        FinalPrediction prediction{settings_.file,         direction.up,   direction.probability,
                                   settings_.movementMode, settings_.open, {}};
        if (prediction.withLevels) {
            prediction.levels = priceLevels(settings_.open, model.rangevolatility, direction.up,
                                            settings_.levelDecimals);
        }
        return prediction;
    }

    void finishPrediction() {
        const FinalPrediction prediction = finalPrediction();
        const RunProducts& products = settings_.products;
        if (products.report || products.screen) {
            outcome_.report = reportBlock(prediction, settings_.lineEnd);
        }
        if (products.screen) {
            outcome_.screen.append(breaksBeforeReport(prediction, settings_.lineEnd) +
                                   outcome_.report);
        }
        if (products.dataLines) {
            for (const std::string& line : finalDataLines(prediction)) {
                dataFile_.writeLine(line);
            }
        }
        outcome_.level75 = prediction.levels.level75;
        outcome_.probabilityText = singleText(prediction.probability);
        outcome_.outlook = outlook(prediction);
        outcome_.predicted = true;
    }

    static Outlook outlook(const FinalPrediction& prediction) {
        Outlook outlook{prediction.up, probabilityText(prediction.probability), {}, false};
        if (prediction.withLevels) {
            const PriceLevels& levels = prediction.levels;
            outlook.levels = PredictedLevels{
                trimmedNumberText(prediction.nextopen),
                {trimmed(levels.level75), trimmed(levels.level50), trimmed(levels.level25)}};
        }
        return outlook;
    }

    const RunSettings& settings_;
    RunOutcome& outcome_;
    DataLines dataFile_;
    RunOutput output_;
    MovementGate gate_;
    BackTest backTest_;
    std::string rearrangedDate_;
};

// A run whose records `readRecords` hands to it; a failure stops it part-way.
template <typename ReadRecords>
RunOutcome runOver(const RunSettings& settings, ReadRecords readRecords) {
    RunOutcome outcome;
    try {
        PredictionRun run(settings, outcome);
        run.start();
        readRecords(run);
        run.finish();
    } catch (const std::exception& exception) {
        outcome.failure = asAppError(exception);
    }
    return outcome;
}

}  // namespace

RunOutcome predictFromLines(const LineSource& nextLine, const RunSettings& settings) {
    return runOver(settings, [&nextLine](PredictionRun& run) {
        for (std::string_view line; nextLine(line);) {
            run.record(line);
        }
    });
}

RunOutcome predictFromRecords(std::span<const std::string_view> lines,
                              std::span<const std::array<double, 4>> prices,
                              const RunSettings& settings) {
    return runOver(settings, [lines, prices](PredictionRun& run) {
        for (std::size_t record = 0; record < lines.size(); ++record) {
            if (prices.empty()) {
                run.record(lines[record]);
            } else {
                run.day(lines[record], prices[record]);
            }
        }
    });
}

}  // namespace aurelant
