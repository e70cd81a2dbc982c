#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "common/calibration.h"
#include "common/outlook.h"

namespace aurelant {

// The next day's prediction for one history file, read as Open would read it but in memory,
// without writing any file: what the command line and the watchlist show of it.
struct FilePrediction {
    std::string refusal;   // why the file was not predicted; empty when it was
    std::string lastDate;  // of the latest record, as the file writes it
    std::size_t records = 0;
    double latestClose = 0;  // of the latest record; 0 when it is not plainly written
    bool predicted = false;  // the back-test made a prediction, so there is a direction
    bool up = true;
    std::string probability;                // percent, as the report writes it
    bool confident = false;                 // 54 % or more
    std::optional<PredictedLevels> levels;  // with an Open
    // The back-test's predictions of 57 % or more and how many came true, and the percentages
    // of right directions among those and of reached levels, as the report's summary has them.
    int confidentPredictions = 0;
    int confidentRight = 0;
    std::string percentRight;
    std::string percentReached;
    std::string report;       // the report block, from its heading to the disclaimer
    Calibration calibration;  // how far the back-test's stated probabilities held

    bool refused() const { return !refusal.empty(); }
    // Up or down; nothing when no prediction was made.
    std::optional<bool> direction() const { return predicted ? std::optional(up) : std::nullopt; }
};

// Whether a prediction's report block is made, or left out where nothing shows it.
enum class ReportText { Made, Left };

// Predicts the file at `path`, with levels for `open` when given; report lines end in `lineEnd`.
// A file in another layout is read as its import would give it, dates that leave the order of
// day and month open read day first when `localeDayFirst`.
FilePrediction predictHistoryFile(const std::string& path, std::optional<double> open,
                                  const std::string& lineEnd, bool localeDayFirst,
                                  ReportText report = ReportText::Made);

}  // namespace aurelant
