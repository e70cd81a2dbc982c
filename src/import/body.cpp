#include "import/body.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/dates.h"
#include "common/lines.h"
#include "common/numtext.h"
#include "common/utf8.h"
#include "import/cells.h"

namespace aurelant::import {
namespace {

constexpr std::size_t kSampleLines = 200;
constexpr std::size_t kMostHeaderLines = 3;
constexpr std::size_t kFewestNumbers = 4;

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// A number that may also be a date: eight digits, the nine and more of unix time (with a
// fraction too), numbers joined by two points or blanks or more ("07.02.2024", and
// "07..02.2024" or "2024 02.07" that the date reader reads as well), or a number beside a word
// that may be a month's name rather than a currency's ("Feb8.2024").
bool mayBeDateNumber(std::string_view cell) {
    const std::string_view text = unquoted(cell);
    if (text.empty()) {
        return false;
    }
    const auto joins =
        std::count_if(text.begin(), text.end(), [](char c) { return c == '.' || c == ' '; });
    const auto wholeDigits = std::find_if_not(text.begin(), text.end(), isDigit) - text.begin();
    return wholeDigits >= 8 || joins >= 2 || isLetter(text.front()) || isLetter(text.back());
}

// A cell that may hold a date: a digit, and no longer than any date with a time and an offset.
bool mayBeDate(std::string_view cell) {
    return cell.size() <= kLongestDateCell &&
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

// Whether a line is longer than a note, counted in characters.
bool isLongNote(std::string_view line) {
    return line.size() > kShortNote &&
           (line.size() > 4 * kShortNote || characterCount(line) > kShortNote);
}

// A run of lines of the same width that hold days, by the index of its lines among those that
// are not blank, with where it stands in the text and the lines just above it.
struct Run {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t days = 0;
    std::size_t width = 0;
    const char* begin = nullptr;
    const char* end = nullptr;
    std::array<std::string_view, kMostHeaderLines> above{};  // nearest last
    std::size_t longBefore = 0;                              // long notes above the run
    std::size_t longThrough = 0;                             // and up to its end
};

// What a look through the lines saw besides the longest run.
struct Scan {
    Run best;
    std::size_t lines = 0;  // that are not blank
    std::size_t longLines = 0;
    bool tooLong = false;  // a line longer than any a price table has: the look stopped there
};

// The longest run by its days among the first `count` lines that are not blank.
Scan longestRun(std::string_view text, std::size_t count, char separator) {
    Scan scan;
    Run current;
    std::array<std::string_view, kMostHeaderLines> recent{};  // the lines before, nearest last
    std::vector<std::string_view> cells;
    LineSplitter splitter(text);
    for (std::string_view line; scan.lines < count && splitter.next(line);) {
        if (line.size() > kLongestLine) {
            scan.tooLong = true;
            break;
        }
        if (isBlankLine(line)) {
            continue;
        }
        const std::size_t longBefore = scan.longLines;
        scan.longLines += isLongNote(line) ? 1 : 0;
        splitFields(line, separator, cells);
        const LineKind kind = kindOf(cells);
        const std::size_t index = scan.lines++;
        if (kind != LineKind::Other && current.days > 0 && cells.size() == current.width) {
            current.last = index + 1;
            current.days += kind == LineKind::Day ? 1 : 0;
            current.end = line.data() + line.size();
            current.longThrough = scan.longLines;
        } else if (kind == LineKind::Day) {
            current = {index,        index + 1,   1,
                       cells.size(), line.data(), line.data() + line.size(),
                       recent,       longBefore,  scan.longLines};
        } else {
            current = {};
        }
        if (current.days > scan.best.days) {
            scan.best = current;
        }
        std::shift_left(recent.begin(), recent.end(), 1);
        recent.back() = line;
    }
    return scan;
}

}  // namespace

bool BodyLines::next(std::string_view& line) {
    while (splitter_.next(line)) {
        if (!isBlankLine(line)) {
            return true;
        }
    }
    return false;
}

Table findTable(std::string_view text, std::string& problem) {
    Table table;
    // The separator: the one whose longest run in the first lines holds the most days.
    std::size_t bestDays = 0;
    for (const char separator : kSeparators) {
        const std::size_t days = longestRun(text, kSampleLines, separator).best.days;
        if (days > bestDays) {
            bestDays = days;
            table.separator = separator;
        }
    }
    const Scan scan = longestRun(text, std::numeric_limits<std::size_t>::max(), table.separator);
    if (scan.tooLong) {
        problem =
            "This file has a line of more than a million characters, which no price file has.";
        return table;
    }
    if (bestDays == 0) {
        problem = "No line of this file holds a date and four prices.";
        return table;
    }
    const Run& body = scan.best;
    table.body = std::string_view(body.begin, static_cast<std::size_t>(body.end - body.begin));
    table.width = body.width;
    std::vector<std::string_view> cells;
    std::size_t longHeaderLines = 0;
    for (std::size_t back = 0; back < std::min(body.first, kMostHeaderLines); ++back) {
        const std::string_view line = body.above[kMostHeaderLines - 1 - back];
        splitFields(line, table.separator, cells);
        if (cells.size() != body.width) {
            break;
        }
        table.headerLines.insert(table.headerLines.begin(), line);
        longHeaderLines += isLongNote(line) ? 1 : 0;
    }
    table.skippedAbove = body.first - table.headerLines.size();
    table.skippedBelow = scan.lines - body.last;
    table.longLinesSkipped =
        body.longBefore - longHeaderLines + (scan.longLines - body.longThrough);
    return table;
}

}  // namespace aurelant::import
