#pragma once

#include <string>
#include <vector>

#include "predict/pricelevels.h"

namespace aurelant {

// The prediction for the trading day after the file, as the report shows it.
struct FinalPrediction {
    std::string file;  // the history file, as `currentfile` names it
    bool up = true;
    float probability = 0;    // of the predicted direction, in percent
    bool withLevels = false;  // movement mode: the Open of the day is known
    double nextopen = 0;
    PriceLevels levels;  // empty without the Open
};

// The report block, from its heading to the disclaimer.
std::string reportBlock(const FinalPrediction& prediction, const std::string& crlf);

// The line breaks that separate the report block from the screen text before it.
std::string breaksBeforeReport(const FinalPrediction& prediction, const std::string& crlf);

// The lines of the final prediction in the prediction data file.
std::vector<std::string> finalDataLines(const FinalPrediction& prediction);

// What the screen shows before the report of a table value of exactly 50, and the line that
// the data file gets for it.
std::string noChangeNotice(const std::string& crlf);
std::string noChangeDataLine();

}  // namespace aurelant
