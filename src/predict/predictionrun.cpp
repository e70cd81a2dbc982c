#include "predict/predictionrun.h"

#include <optional>

#include "common/errors.h"
#include "common/textfile.h"
#include "predict/prediction.h"
#include "pricefile/historyformat.h"
#include "pricefile/latestrecord.h"
#include "pricefile/layoutcheck.h"
#include "state/appstate.h"
#include "state/workingfiles.h"

namespace aurelant {
namespace {

constexpr const char* kNewestFirstRefusal =
    "The dates of this file run newest first, so a prediction would run backwards through them. "
    "Put the oldest day first with Tools > Reverse, or import the file with File > Import a Price "
    "File, which puts its days in order.";

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

// Takes what the run gave into the window and the shared state, and writes the data file, also
// the part that a failed run wrote before it stopped.
// The run's settings from the shared state: the mode, the Open, the display limit, the line end,
// the file and the UP-probability table.
RunSettings settingsOf(const Globals& globals, char separator) {
    return {globals.movementmode,
            globals.nextopen,
            globals.displayfrom,
            globals.crlf,
            globals.currentfile,
            globals.upprobtable,
            separator,
            levelDecimals(globals.currentfile, separator),
            {}};
}

// What later commands carry on with: the re-prediction, the strategy and the five-day panel.
void takeIntoGlobals(Globals& globals, const RunOutcome& outcome, int levelDecimals) {
    const ModelState& model = outcome.model;
    for (std::size_t day = 0; day < model.days.size(); ++day) {
        const DayPrices& prices = model.days[day];
        auto& row = globals.fivedays[day + 1];  // the date in field 0 stays the panel's
        row[1] = prices.open;
        row[2] = prices.high;
        row[3] = prices.low;
        row[4] = prices.close;
    }
    globals.patterncode = model.patterncode;
    globals.rangevolatility = model.rangevolatility;
    globals.upfraction = model.upfraction;
    globals.directionup = model.directionup;
    globals.probability = model.probability;
    if (outcome.predicted) {
        globals.noconfidence = model.probability < kPredictionThreshold;
        globals.reporttext = outcome.report;
        globals.level75text = outcome.level75;
        globals.probabilitytext = outcome.probabilityText;
        globals.pricedecimals = static_cast<std::int16_t>(levelDecimals);
        globals.predictiondone = true;
    }
}

void applyOutcome(AppState& window, RunOutcome outcome, int levelDecimals, LineWriter& dataFile) {
    takeIntoGlobals(window.globals, outcome, levelDecimals);
    window.maintext.append(outcome.screen);
    dataFile.write(outcome.dataLines);
    if (outcome.failure) {
        throw *outcome.failure;
    }
    dataFile.close();
    if (!outcome.predicted) {
        withdrawPrediction(window);
        return;
    }
    if (window.globals.movementmode) {
        window.strategyEnabled = true;
    }
    window.runresults.complete(window.globals.currentfile, outcome.lastRecord,
                               std::move(outcome.judged), std::move(outcome.calibration),
                               std::move(outcome.outlook));
}

void runAfterChecks(AppState& window) {
    Globals& globals = window.globals;
    if (runsNewestFirst(globals.currentfile)) {
        window.showMessage(kNewestFirstRefusal);
        return;
    }
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
    const std::string dataPath = window.platform.programFolder() + kPredictionDataFile;
    LineWriter dataFile(dataPath, dataFileShownName(dataPath));
    const RunSettings settings = settingsOf(globals, *separator);
    LineReader reader(globals.currentfile);
    RunOutcome outcome;
    {
        BusyPointer busy(window.platform);
        outcome = predictFromLines([&reader](std::string_view& line) { return reader.next(line); },
                                   settings);
    }
    applyOutcome(window, std::move(outcome), settings.levelDecimals, dataFile);
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
