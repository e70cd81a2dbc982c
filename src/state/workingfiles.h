#pragma once

namespace aurelant {

// The prediction data file that every run rewrites, in the program's folder: the back-test
// table (TAB-separated lines) followed by the summary lines (without TABs). The saves read it.
inline constexpr const char* kPredictionDataFile = "/savescreen1.tmp";

}  // namespace aurelant
