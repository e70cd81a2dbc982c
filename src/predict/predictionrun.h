#pragma once

namespace aurelant {

class AppState;

// One prediction run over the open history file, in the mode that `movementmode` holds:
// direction model, price levels, back-test, report and the prediction data file.
void runPrediction(AppState& window);

}  // namespace aurelant
