#include "import/body.h"

#include <algorithm>

#include "common/dates.h"
#include "common/textfile.h"
#include "import/cells.h"

namespace aurelant::import {
namespace {

constexpr std::size_t kSampleLines = 200;
constexpr std::size_t kMostHeaderLines = 3;
constexpr std::size_t kFewestNumbers = 4;

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The lines that are not blank, without their line ends (CR, LF or CR LF); nothing after a line
// longer than any a price table has, which `tooLong` then says.
std::vector<std::string_view> nonBlankLines(std::string_view text, bool& tooLong) {
    std::vector<std::string_view> lines;
    tooLong = false;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
            end += 1;
        }
        const std::string_view line = text.substr(at, end - at);
        if (line.size() > kLongestLine) {
            tooLong = true;
            return lines;
        }
        if (!isBlankLine(line)) {
            lines.push_back(line);
        }
        at = end + (end < text.size() && text[end] == '\r' ? 1 : 0);
        at += at < text.size() && text[at] == '\n' ? 1 : 0;
    }
    return lines;
}

// A number that may also be a date: eight digits, the nine and more of unix time, or numbers
// joined by two points ("07.02.2024").
bool mayBeDateNumber(std::string_view cell) {
    const std::string_view text = unquoted(cell);
    const bool digits =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return (digits && text.size() >= 8) || std::count(text.begin(), text.end(), '.') == 2;
}

// A cell that may hold a date: a digit, and no longer than any date with a time and an offset.
bool mayBeDate(std::string_view cell) {
    constexpr std::size_t kLongestDate = 48;
    return cell.size() <= kLongestDate &&
           std::any_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; });
}

enum class LineKind { Other, Day, Placeholders };

LineKind kindOf(const std::vector<std::string_view>& cells) {
    std::size_t numbers = 0;
    std::size_t placeholders = 0;
    bool dated = false;
    for (const std::string_view cell : cells) {
        if (looksNumeric(cell)) {
            if (!dated && mayBeDateNumber(cell) && readDateCell(cell, NumericOrder::Lenient)) {
                dated = true;
            } else {
                ++numbers;
            }
        } else if (isPlaceholder(cell)) {
            ++placeholders;
        } else if (!dated && mayBeDate(cell) && readDateCell(cell, NumericOrder::Lenient)) {
            dated = true;
        }
    }
    if (!dated) {
        return LineKind::Other;
    }
    return numbers >= kFewestNumbers                  ? LineKind::Day
           : numbers + placeholders >= kFewestNumbers ? LineKind::Placeholders
                                                      : LineKind::Other;
}

struct Run {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t days = 0;
    std::size_t width = 0;
};

// The longest run among `count` lines from `from`, by its days.
Run longestRun(const std::vector<std::string_view>& lines, std::size_t count, char separator) {
    Run best;
    Run current;
    std::vector<std::string_view> cells;
    for (std::size_t index = 0; index < count; ++index) {
        splitFields(lines[index], separator, cells);
        const LineKind kind = kindOf(cells);
        const bool continues =
            kind != LineKind::Other && current.days > 0 && cells.size() == current.width;
        if (continues) {
            current.last = index + 1;
            current.days += kind == LineKind::Day ? 1 : 0;
        } else {
            current = kind == LineKind::Day ? Run{index, index + 1, 1, cells.size()} : Run{};
        }
        if (current.days > best.days) {
            best = current;
        }
    }
    return best;
}

}  // namespace

Table findTable(std::string_view text, std::string& problem) {
    Table table;
    bool tooLong = false;
    table.lines = nonBlankLines(text, tooLong);
    if (tooLong) {
        problem =
            "This file has a line of more than a million characters, which no price file has.";
        return table;
    }
    // The separator: the one whose longest run in the first lines holds the most days.
    const std::size_t sample = std::min(kSampleLines, table.lines.size());
    std::size_t bestDays = 0;
    for (const char separator : kSeparators) {
        const std::size_t days = longestRun(table.lines, sample, separator).days;
        if (days > bestDays) {
            bestDays = days;
            table.separator = separator;
        }
    }
    if (bestDays == 0) {
        problem = "No line of this file holds a date and four prices.";
        return table;
    }
    const Run body = longestRun(table.lines, table.lines.size(), table.separator);
    table.first = body.first;
    table.last = body.last;
    table.width = body.width;
    std::vector<std::string_view> cells;
    for (std::size_t line = body.first; line > 0 && table.headerLines.size() < kMostHeaderLines;
         --line) {
        splitFields(table.lines[line - 1], table.separator, cells);
        if (cells.size() != body.width) {
            break;
        }
        table.headerLines.insert(table.headerLines.begin(), line - 1);
    }
    table.skippedAbove = body.first - table.headerLines.size();
    table.skippedBelow = table.lines.size() - body.last;
    return table;
}

}  // namespace aurelant::import
