#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Finding the table in a text: its separator, the run of lines that hold its days, and the
// header lines above them. Title lines, "sep=;" lines, links, a ticker line and footers are
// skipped and counted.
namespace aurelant::import {

// The separators a price table uses; a blank stands for runs of blanks and TABs.
inline constexpr char kSeparators[] = {',', ';', '\t', '|', ' '};

struct Table {
    char separator = ',';
    std::vector<std::string_view> lines;  // the lines that are not blank, without line ends
    std::size_t first = 0;                // the body: lines[first, last)
    std::size_t last = 0;
    std::size_t width = 0;                 // the fields of every body line
    std::vector<std::size_t> headerLines;  // above the body, the same width, nearest last
    std::size_t skippedAbove = 0;          // lines above the body that are neither header nor day
    std::size_t skippedBelow = 0;
};

// The body is the longest run of lines that split into the same number of fields and hold a date
// and at least four numbers (rows of placeholders among them do not break it); the header is the
// lines just above it with the same number of fields. `problem` says why there is none.
Table findTable(std::string_view text, std::string& problem);

}  // namespace aurelant::import
