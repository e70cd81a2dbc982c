#pragma once

#include <string>
#include <string_view>

#include "app/aurelant.h"
#include "common/textfile.h"

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

    // A back-test comment about a record: on the screen in direction-only mode only.
    void comment(long recordNumber, std::string_view text) {
        if (directionOnly && shows(recordNumber)) {
            screen.append(text);
        }
    }
};

}  // namespace aurelant
