#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/dates.h"

namespace aurelant {

// Open's confirmation that a file is in the program's own layout, line by line as Open reads it,
// cheap enough for every line of the largest file. It confirms only what the recognition of the
// whole file would confirm too: days of plain prices (the date, then Open, High, Low and Close and
// nothing after them, High and Low bounding the others), each later than the one before and
// written alike, in one run; above them at most one header naming Open, High, Low and Close, and
// notes; below them notes. Without a header, Open and Close must also be told apart as the
// recognition tells them: by how each day's Open follows the previous day's Close. A file it
// cannot confirm goes to the recognition.
class LayoutCheck {
  public:
    // The Open, High, Low and Close of a line that is not a short line, where it is a day of plain
    // prices; nothing for a line that is not, which may be a header.
    std::optional<std::array<double, 4>> day(std::string_view line);
    // A header line, a short line (blank lines included), a record line that is no such day.
    void header(std::string_view line);
    void shortLine(std::string_view line);
    void otherRecord() { confirmed_ = false; }
    bool confirmed() const;
    // The separator the days were read at.
    std::optional<char> separator() const { return separator_; }

  private:
    struct DigitRun {
        std::size_t at = 0;
        std::size_t length = 0;
    };
    const std::optional<DateCell>& readDate(std::string_view text);
    bool nextInMonth(std::string_view text);
    std::optional<DigitRun> differingDigits(std::string_view text) const;
    void follow(const std::array<double, 4>& prices);

    std::optional<char> separator_;
    std::optional<CalendarDate> last_;
    std::optional<DateWriting> writing_;
    std::string lastText_;  // the date read last, and how it reads
    std::optional<DateCell> lastCell_;
    std::optional<DigitRun> dayRun_;  // where the dates write their day
    std::optional<std::array<double, 4>> previous_;
    bool header_ = false;  // a header names the prices
    bool ended_ = false;   // a note follows the days
    unsigned apart_ = 0;   // which of High and Low some day sets apart from the others
    double openGap_ = 0;   // each Open from the previous Close, summed
    double closeGap_ = 0;  // each Close from the previous Open, summed
    double spanSum_ = 0;   // High less Low, summed
    double lowSum_ = 0;    // Low, summed
    bool confirmed_ = true;
};

// Whether the records of a history file all hold dates that run strictly newest first, as a file
// opened as it stood after Open's question may: a prediction on it would run backwards. Reads no
// further than the first two records of a file that runs the right way.
bool runsNewestFirst(const std::string& path);

}  // namespace aurelant
