#include "predict/predictionrun.h"

#include <array>
#include <optional>

#include "common/dates.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "predict/backtest.h"
#include "predict/report.h"
#include "predict/runoutput.h"
#include "pricefile/historyformat.h"
#include "pricefile/latestrecord.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr const char* kDataFileHeader =
    "Date    \tDirectn\tProb\tPred?\tRight?\tPredict\tActual\tPrice Reached?";

bool confirmedDirectionOnly(AppState& window) {
    const MessageRequest question{
        "NOTE: This tool provides information that is somewhat limited. It continues to be "
        "included as a tool which may be useful. You may instead use the 'Prediction of "
        "Movement & Direction' tool if you have a current opening price, or you may proceed "
        "with this 'Direction & Historic Predictions' tool.",
        "Predict Aurelant's Movement", Buttons::OkCancel, Icon::Information, 2};
    return window.platform.message(question) != Answer::Cancel;
}

std::string labelCaption(bool movementmode, const std::string& crlf) {
    if (movementmode) {
        return "NOTE: IF YOU HAVE ONE OR MORE PRICES WHICH FOLLOW THE OPENING PRICE, YOU CAN USE "
               "THESE PRICES TO GENERATE AN IMPROVED PREDICTION. USE THE 'RE-PREDICT' FUNCTION "
               "FROM THE 'PREDICT' MENU OR THE ' = ' ICON." +
               crlf + crlf;
    }
    return "THE PREDICTION IS GIVEN AT THE BOTTOM OF THIS SCREEN. You will probably have to "
           "scroll down to it. The information on this screen provides a history of predictions "
           "for the data in this file." +
           crlf + crlf +
           "PLEASE NOTE: These historical predictions should NOT be as good as the ones you will "
           "obtain with the program, as you can increase the accuracy of the predictions when you "
           "enter a 'within-day' price and request a re-calculation.";
}

// Nothing that claims to be a prediction survives a run that ends early: its data file is partial
// and the shared results are half updated.
void withdrawPrediction(AppState& window) {
    window.globals.predictiondone = false;
    window.globals.repredictready = false;
    window.recalcEnabled = false;
    window.strategyEnabled = false;
    window.runresults.clear();
}

// How failures name the data file: a user seeing its name must not fear for the price file.
std::string dataFileShownName(const std::string& path) {
    return "the program's working file " + path + " (not your price file)";
}

// One run past its separator check: reads the records, back-tests, reports.
class PredictionRun {
  public:
    PredictionRun(AppState& window, char separator, int levelDecimals)
        : window_(window),
          globals_(window.globals),
          separator_(separator),
          dataFile_(window.platform.programFolder() + kPredictionDataFile,
                    dataFileShownName(window.platform.programFolder() + kPredictionDataFile)),
          output_{window.maintext, dataFile_, globals_.crlf, !globals_.movementmode,
                  globals_.displayfrom},
          levelDecimals_(levelDecimals),
          backTest_(globals_, output_, levelDecimals) {}

    void run() {
        dataFile_.writeLine(kDataFileHeader);
        readRecords();
        if (backTest_.tally().predictionsMade == 0) {
            dataFile_.close();
            window_.maintext.append(globals_.crlf +
                                    "No Prediction carried out, so no prediction can be made" +
                                    globals_.crlf);
            withdrawPrediction(window_);
            return;
        }
        if (output_.directionOnly) {
            reportStatistics(backTest_.tally(), backTest_.units(), output_);
        }
        finishPrediction();
    }

  private:
    void readRecords() {
        LineReader reader(globals_.currentfile);
        BusyPointer busy(window_.platform);
        for (std::string_view line; reader.next(line);) {
            handleRecord(++lastRecord_, line);
        }
    }

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
                window_.maintext.append(globals_.crlf + "WARNING: Record number " +
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
            window_.maintext.append(noChangeNotice(globals_.crlf));
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
        window_.maintext.append(breaksBeforeReport(prediction, globals_.crlf) +
                                globals_.reporttext);
        for (const std::string& line : finalDataLines(prediction)) {
            dataFile_.writeLine(line);
        }
        if (prediction.withLevels) {
            window_.strategyEnabled = true;
        }
        dataFile_.close();
        globals_.level75text = prediction.levels.level75;
        globals_.pricedecimals = static_cast<std::int16_t>(levelDecimals_);
        globals_.probabilitytext = singleText(prediction.probability);
        globals_.predictiondone = true;
        window_.runresults.complete(globals_.currentfile, lastRecord_, backTest_.takeJudged(),
                                    outlook(prediction));
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

    AppState& window_;
    Globals& globals_;
    char separator_;
    LineWriter dataFile_;
    RunOutput output_;
    int levelDecimals_;
    MovementGate gate_;
    BackTest backTest_;
    long lastRecord_ = 0;  // every line read counts, valid or not
    std::string rearrangedDate_;
};

void runAfterChecks(AppState& window) {
    Globals& globals = window.globals;
    if (!globals.movementmode && !confirmedDirectionOnly(window)) {
        return;
    }
    window.maintext.setText("");
    window.runresults.clear();
    const std::optional<char> separator = historyFileSeparator(globals.currentfile);
    if (!separator) {
        window.showMessage(
            "This file contains neither TAB nor COMMA field separators, and cannot be opened.");
        return;
    }
    globals.separator = std::string(1, *separator);
    window.infolabel.caption = labelCaption(globals.movementmode, globals.crlf);
    PredictionRun(window, *separator, levelDecimals(globals.currentfile, *separator)).run();
}

// The run stopped: the file counts as closed and must be opened again.
void failRun(AppState& window, const AppError& error) {
    window.dropFileAfterError(window.globals.programtitle);
    window.globals.noconfidence = true;
    withdrawPrediction(window);
    window.showMessage(errorMessage(ErrorWording::NumberColon, error));
}

}  // namespace

void runPrediction(AppState& window) {
    window.cls();
    if (!window.globals.fileopen) {
        window.showMessage("You must first open a file");
        return;
    }
    try {
        runAfterChecks(window);
    } catch (const std::exception& exception) {
        failRun(window, asAppError(exception));
    }
}

}  // namespace aurelant
