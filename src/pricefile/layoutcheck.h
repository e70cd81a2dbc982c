#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/dates.h"

namespace aurelant {

// Open's confirmation that a file is in the program's own layout, line by line as Open reads it:
// each record a day of plain prices (the date, then Open, High, Low and Close, High and Low
// bounding the others), each day later than the one before. Cheap enough for every line of the
// largest file; a file it cannot confirm goes to the recognition of the whole file.
class LayoutCheck {
  public:
    // Whether a line that is not a short line is such a day; a line that is not may be a header.
    bool day(std::string_view line);
    // A record line that is no such day: the file is not confirmed.
    void otherRecord() { confirmed_ = false; }
    bool confirmed() const { return confirmed_; }

  private:
    std::optional<char> separator_;
    std::optional<CalendarDate> last_;
    bool confirmed_ = true;
};

// Whether the records of a history file all hold dates that run strictly newest first, as a file
// opened as it stood after Open's question may: a prediction on it would run backwards. Reads no
// further than the first two records of a file that runs the right way.
bool runsNewestFirst(const std::string& path);

}  // namespace aurelant
