#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/calibration.h"
#include "common/errors.h"
#include "common/outlook.h"
#include "predict/direction.h"
#include "predict/statistics.h"

namespace aurelant {

// The next line of a history file, as a view valid until the next call; false at its end.
using LineSource = std::function<bool(std::string_view&)>;

// What a run makes besides the prediction itself, for those who show it: a run whose outcome only
// a table or a report shows makes none of the others.
struct RunProducts {
    bool screen = true;     // the screen's text, with its comments on the last records
    bool dataLines = true;  // the prediction data file's lines
    bool judged = true;     // the judged predictions, for the chart
    bool report = true;     // the report block
};

// What a prediction run reads besides the file's lines.
struct RunSettings {
    bool movementMode = false;  // with the next day's Open: price levels, no back-test comments
    double open = 0;
    long displayFrom = 0;  // only records after this one are commented on the screen
    std::string lineEnd = "\r\n";
    std::string file;  // as the report names it
    UpProbabilityTable upTable{};
    char separator = ',';
    int levelDecimals = 2;  // of the price levels
    RunProducts products;
};

// Everything a prediction run gives, also when it stops on a failure part-way.
struct RunOutcome {
    std::string screen;     // the text the run appends to the main screen
    std::string dataLines;  // the prediction data file, each line ended by CR LF
    ModelState model;       // the direction model after the run
    // A prediction was made: the report and the final prediction stand. When not, the screen
    // ends with the notice that none could be made (or the run failed).
    bool predicted = false;
    std::string report;           // the report block, from its heading to the disclaimer
    std::string level75;          // as the report writes it, leading blank and all
    std::string probabilityText;  // of the final prediction, as a single's text
    long lastRecord = 0;          // every line read counts, valid or not
    std::vector<JudgedPrediction> judged;
    Calibration calibration;
    Outlook outlook;
    BackTestTally tally;
    double units = 0;
    std::optional<AppError> failure;  // the run stopped here; the rest holds what came before
};

// One prediction run over the lines of a history file: direction model, price levels, back-test,
// report and the data file's lines. Touches nothing outside.
RunOutcome predictFromLines(const LineSource& nextLine, const RunSettings& settings);
// The same run over lines held in memory. `prices` is empty, or holds each line's Open, High, Low
// and Close as plainRecord reads them, which the run then takes instead of reading them again.
RunOutcome predictFromRecords(std::span<const std::string_view> lines,
                              std::span<const std::array<double, 4>> prices,
                              const RunSettings& settings);

}  // namespace aurelant
