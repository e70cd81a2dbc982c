#pragma once

#include <string>

#include "common/textfile.h"
#include "state/appstate.h"

namespace aurelant {

// Where a prediction run writes: the main screen, appended to, and the prediction data file.
struct RunOutput {
    MainScreen& screen;
    LineWriter& dataFile;
    std::string crlf;
    bool directionOnly = true;
    long displayfrom = 0;

    // Only the records after `displayfrom` (about the last 120) are commented on the screen.
    bool shows(long recordNumber) const { return recordNumber > displayfrom; }

    // Whether the back-test comments on a record: in direction-only mode only. Callers build
    // a comment only when it is shown, as most records of a long file are not.
    bool comments(long recordNumber) const { return directionOnly && shows(recordNumber); }
};

}  // namespace aurelant
