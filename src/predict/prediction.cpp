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
    PredictionRun(RunInputs& inputs, RunOutcome& outcome)
        : globals_(inputs.state),
          separator_(inputs.separator),
          levelDecimals_(inputs.levelDecimals),
          outcome_(outcome),
          dataFile_(inputs.keepDataLines),
          output_{outcome.screen, dataFile_, globals_.crlf, !globals_.movementmode,
                  globals_.displayfrom},
          backTest_(globals_, output_, inputs.levelDecimals) {}

    // Leaves the data file's lines in the outcome however the run ends.
    ~PredictionRun() { outcome_.dataLines = std::move(dataFile_.text()); }
    PredictionRun(const PredictionRun&) = delete;
    PredictionRun& operator=(const PredictionRun&) = delete;

    void run(const LineSource& nextLine) {
        dataFile_.writeLine(kDataFileHeader);
        for (std::string_view line; nextLine(line);) {
            handleRecord(++outcome_.lastRecord, line);
        }
        outcome_.tally = backTest_.tally();
        outcome_.units = backTest_.units();
        outcome_.judged = backTest_.takeJudged();
        outcome_.calibration = backTest_.takeCalibration();
        if (outcome_.tally.predictionsMade == 0) {
            outcome_.screen.append(globals_.crlf +
                                   "No Prediction carried out, so no prediction can be made" +
                                   globals_.crlf);
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
        if (const std::optional<PlainRecord> record = plainRecord(line, separator_)) {
            handleDay(recordNumber, record->date, record->prices);
            return;
        }
        const std::optional<PriceRecord> record = splitRecord(line, separator_);
        if (!record) {
            if (output_.shows(recordNumber)) {
                outcome_.screen.append(globals_.crlf + "WARNING: Record number " +
                                       numberText(static_cast<double>(recordNumber)) +
                                       " was invalid, and was skipped" + globals_.crlf);
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
        const float tableValue = lookUpPattern(globals_);
        if (tableValue == kNoChangeValue) {
            outcome_.screen.append(noChangeNotice(globals_.crlf));
            dataFile_.writeLine(noChangeDataLine());
        }
        const Direction direction = decideDirection(globals_, tableValue);
        FinalPrediction prediction{globals_.currentfile,  direction.up,      direction.probability,
                                   globals_.movementmode, globals_.nextopen, {}};
        if (prediction.withLevels) {
            prediction.levels = priceLevels(globals_.nextopen, globals_.rangevolatility,
                                            direction.up, levelDecimals_);
        }
        return prediction;
    }

    void finishPrediction() {
        const FinalPrediction prediction = finalPrediction();
        globals_.noconfidence = prediction.probability < kPredictionThreshold;
        globals_.reporttext = reportBlock(prediction, globals_.crlf);
        outcome_.screen.append(breaksBeforeReport(prediction, globals_.crlf) + globals_.reporttext);
        for (const std::string& line : finalDataLines(prediction)) {
            dataFile_.writeLine(line);
        }
        globals_.level75text = prediction.levels.level75;
        globals_.pricedecimals = static_cast<std::int16_t>(levelDecimals_);
        globals_.probabilitytext = singleText(prediction.probability);
        globals_.predictiondone = true;
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

    Globals& globals_;
    char separator_;
    int levelDecimals_;
    RunOutcome& outcome_;
    DataLines dataFile_;
    RunOutput output_;
    MovementGate gate_;
    BackTest backTest_;
    std::string rearrangedDate_;
};

}  // namespace

RunOutcome predictFromLines(const LineSource& nextLine, RunInputs inputs) {
    RunOutcome outcome;
    try {
        PredictionRun(inputs, outcome).run(nextLine);
    } catch (const std::exception& exception) {
        outcome.failure = asAppError(exception);
    }
    outcome.state = std::move(inputs.state);
    return outcome;
}

}  // namespace aurelant
