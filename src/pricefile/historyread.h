#pragma once

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
    char separator = ',';
    std::string refusal;  // empty when the file is taken

    bool taken() const { return refusal.empty(); }
};

// `localeDayFirst`: the user's locale writes the day before the month, for dates that leave the
// order open.
HistoryInMemory readHistoryInMemory(const std::string& path, bool localeDayFirst);

// The lines of a text as the program's readers take them: line ends CR LF, LF or a lone CR, a
// byte-order mark at the start left out, a line over the longest a reader keeps read as empty; of
// the short lines (blank lines, notes) only those among the first four, where the format check
// looks.
std::vector<std::string_view> textLines(std::string_view text);

}  // namespace aurelant
