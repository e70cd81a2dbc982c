#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "predict/statistics.h"
#include "state/calibration.h"
#include "state/globals.h"
#include "state/runresults.h"

namespace aurelant {

// The next line of a history file, as a view valid until the next call; false at its end.
using LineSource = std::function<bool(std::string_view&)>;

// What a prediction run reads besides the file's lines.
struct RunInputs {
    // The shared state as the run finds it: the mode (`movementmode`), the Open (`nextopen`),
    // the display limit (`displayfrom`), `crlf`, `currentfile`, the UP-probability table and the
    // results of earlier runs that the run reads or carries on.
    Globals state;
    char separator = ',';
    int levelDecimals = 2;  // of the price levels
    bool keepDataLines = true;
};

// Everything a prediction run gives, also when it stops on a failure part-way.
struct RunOutcome {
    std::string screen;     // the text the run appends to the main screen
    std::string dataLines;  // the prediction data file, each line ended by CR LF
    Globals state;          // the shared state after the run
    // A prediction was made: the report and the final prediction stand. When not, the screen
    // ends with the notice that none could be made (or the run failed).
    bool predicted = false;
    long lastRecord = 0;  // every line read counts, valid or not
    std::vector<JudgedPrediction> judged;
    Calibration calibration;
    Outlook outlook;
    BackTestTally tally;
    double units = 0;
    std::optional<AppError> failure;  // the run stopped here; the rest holds what came before
};

// One prediction run over the lines of a history file: direction model, price levels, back-test,
// report and the data file's lines. Touches nothing outside.
RunOutcome predictFromLines(const LineSource& nextLine, RunInputs inputs);

}  // namespace aurelant
