#pragma once

namespace aurelant {

class AppState;

// The reverse tool: rewrites a chosen file with its records in the opposite order and shows the
// result. The file is not opened for prediction.
void reverseFileOrder(AppState& window);

}  // namespace aurelant
