#pragma once

namespace aurelant {

class AppState;

// The prediction data file that every run rewrites, in the program's folder: the back-test
// table (TAB-separated lines) followed by the summary lines (without TABs).
inline constexpr const char* kPredictionDataFile = "/savescreen1.tmp";

// One prediction run over the open history file, in the mode that `movementmode` holds:
// direction model, price levels, back-test, report and the prediction data file.
void runPrediction(AppState& window);

}  // namespace aurelant
