#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace aurelant {

// A history file read as Open takes it, in memory and without writing anything: its record lines
// (header and short lines left out) and their separator, or why Open would refuse it. A file in
// another layout that the import recognises is taken as its import gives it.
struct HistoryInMemory {
    std::string text;                        // the whole file
    std::vector<std::string> importedLines;  // the daily records of a file in another layout
    std::vector<std::string_view> records;   // into `text` or `importedLines`
    // Each record's Open, High, Low and Close where the reading read them all already; else empty.
    std::vector<std::array<double, 4>> prices;
    char separator = ',';
    std::string refusal;  // empty when the file is taken

    bool taken() const { return refusal.empty(); }
};

// `localeDayFirst`: the user's locale writes the day before the month, for dates that leave the
// order open.
HistoryInMemory readHistoryInMemory(const std::string& path, bool localeDayFirst);

}  // namespace aurelant
