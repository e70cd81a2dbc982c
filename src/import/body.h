#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/lines.h"

// Finding the table in a text: its separator, the run of lines that hold its days, and the
// header lines above them. Title lines, "sep=;" lines, links, a ticker line and footers are
// skipped and counted.
namespace aurelant::import {

// The separators a price table uses; a blank stands for runs of blanks and TABs.
inline constexpr char kSeparators[] = {',', ';', '\t', '|', ' '};

// Lines skipped above or below a table up to this many characters are notes that Open leaves out
// too.
inline constexpr std::size_t kShortNote = 14;

// The table found in a text. No line is kept but the header's: a list of a file's lines would
// take several times the memory of its text.
struct Table {
    char separator = ',';
    std::string_view body;  // from the start of the body's first line to the end of its last
    std::size_t width = 0;  // the fields of every body line
    std::vector<std::string_view> headerLines;  // above the body, the same width, nearest last
    std::size_t skippedAbove = 0;  // lines above the body that are neither header nor day
    std::size_t skippedBelow = 0;
    std::size_t longLinesSkipped = 0;  // of those, the lines longer than kShortNote characters
};

// Cuts the body's lines that are not blank, without their line ends.
class BodyLines {
  public:
    explicit BodyLines(std::string_view body) : splitter_(body) {}
    bool next(std::string_view& line);

  private:
    LineSplitter splitter_;
};

// The body is the longest run of lines that split into the same number of fields and hold a date
// and at least four numbers (rows of placeholders among them do not break it); the header is the
// lines just above it with the same number of fields. `problem` says why there is none.
Table findTable(std::string_view text, std::string& problem);

}  // namespace aurelant::import
