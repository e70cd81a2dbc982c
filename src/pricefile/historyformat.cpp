#include "pricefile/historyformat.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/dates.h"
#include "common/errors.h"
#include "common/textfile.h"
#include "common/utf8.h"

namespace aurelant {
namespace {

constexpr std::size_t kShortLineLength = 14;
constexpr std::size_t kShortestSample = 15;
constexpr std::ptrdiff_t kFewestSampleSeparators = 3;
// A fifth separator ends Close only beyond this many characters (positions counted from 1).
constexpr std::size_t kFifthSeparatorMinimum = 9;

// Positions (from 0) of the first four separators; fewer than four found means not a record.
std::optional<std::array<std::size_t, 4>> firstFourSeparators(std::string_view line,
                                                              char separator) {
    std::array<std::size_t, 4> positions{};
    std::size_t from = 0;
    for (std::size_t& position : positions) {
        position = line.find(separator, from);
        if (position == std::string_view::npos) {
            return std::nullopt;
        }
        from = position + 1;
    }
    return positions;
}

}  // namespace

bool isHeaderLine(std::string_view line) {
    auto holds = [line](char upper) {
        return std::any_of(line.begin(), line.end(), [upper](char c) {
            return std::toupper(static_cast<unsigned char>(c)) == upper;
        });
    };
    return holds('O') && holds('H') && holds('L') && holds('C');
}

bool isShortLine(std::string_view line) {
    return characterCount(line) <= kShortLineLength;
}

bool isRecordLine(std::string_view line) {
    return !isShortLine(line) && !isHeaderLine(line);
}

bool looksLikePriceData(std::string_view sample) {
    const auto separators =
        std::count_if(sample.begin(), sample.end(), [](char c) { return c == '\t' || c == ','; });
    return characterCount(sample) > kShortestSample && separators > kFewestSampleSeparators;
}

std::optional<char> historyFileSeparator(const std::string& path) {
    const std::optional<std::string> firstLine = readFirstLine(path);
    if (!firstLine) {
        throw programError(Failure::EndOfFile);
    }
    return detectSeparator(*firstLine);
}

bool hasFourSeparators(std::string_view line, char separator) {
    return firstFourSeparators(line, separator).has_value();
}

std::optional<char> detectSeparator(std::string_view firstLine) {
    for (char separator : {',', '\t'}) {
        if (hasFourSeparators(firstLine, separator)) {
            return separator;
        }
    }
    return std::nullopt;
}

std::optional<PriceRecord> splitRecord(std::string_view line, char separator) {
    const auto positions = firstFourSeparators(line, separator);
    if (!positions) {
        return std::nullopt;
    }
    const auto [p1, p2, p3, p4] = *positions;
    auto between = [line](std::size_t from, std::size_t to) {
        return line.substr(from + 1, to - from - 1);
    };
    std::size_t closeEnd = line.find(separator, p4 + 1);
    if (closeEnd == std::string_view::npos || closeEnd + 1 <= kFifthSeparatorMinimum) {
        closeEnd = line.size();
    }
    return PriceRecord{rearrangeCompactDate(line.substr(0, p1)), between(p1, p2), between(p2, p3),
                       between(p3, p4), between(p4, closeEnd)};
}

}  // namespace aurelant
