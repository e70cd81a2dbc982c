#include "pricefile/historyformat.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/dates.h"
#include "common/errors.h"
#include "common/numtext.h"
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

// Longer field texts are cut in messages.
constexpr std::size_t kLongestQuotedField = 30;
constexpr std::array<const char*, 4> kPriceNames{"Open", "High", "Low", "Close"};

// The letters O, H, L and C that an ASCII line holds in either case, as four bits; nothing for a
// line with any other byte, for the C library's case rules to decide. Setting the 0x20 bit turns
// exactly the two cases of a letter, and nothing else, into the small letter, so one pass with
// one test a byte does what the full rule does with a call a byte for each letter.
std::optional<unsigned> asciiFieldLetters(std::string_view line) {
    unsigned found = 0;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            return std::nullopt;
        }
        switch (byte | 0x20) {
            case 'o':
                found |= 1U;
                break;
            case 'h':
                found |= 2U;
                break;
            case 'l':
                found |= 4U;
                break;
            case 'c':
                found |= 8U;
                break;
            default:
                break;
        }
    }
    return found;
}

bool holdsFieldLetters(std::string_view line) {
    if (const std::optional<unsigned> letters = asciiFieldLetters(line)) {
        return *letters == 15U;
    }
    auto holds = [line](char upper) {
        return std::any_of(line.begin(), line.end(), [upper](char c) {
            return std::toupper(static_cast<unsigned char>(c)) == upper;
        });
    };
    return holds('O') && holds('H') && holds('L') && holds('C');
}

bool isNumber(std::string_view text) {
    try {
        strictNumber(text);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

// The second field of the line, where a record has its Open; nothing without one.
std::optional<std::string_view> secondField(std::string_view line) {
    const char separator = hasFourSeparators(line, ',') ? ',' : '\t';
    const auto first = line.find(separator);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const auto second = line.find(separator, first + 1);
    return line.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
}

std::string quotedField(std::string_view text) {
    if (characterCount(text) <= kLongestQuotedField) {
        return "\"" + std::string(text) + "\"";
    }
    return "\"" + std::string(text.substr(0, characterPrefixLength(text, kLongestQuotedField))) +
           "...\"";
}

double recordPrice(std::string_view text, int field, long recordNumber) {
    // Made only for a message: a run reads every price of the file through here.
    auto subject = [&] {
        return "the " + std::string(kPriceNames[field]) + " of record " +
               std::to_string(recordNumber) + " (" + quotedField(text) + ")";
    };
    double value = 0;
    try {
        value = strictNumber(text);
    } catch (const AppError& error) {
        if (error.number() == programError(Failure::NotANumber).number()) {
            throw programError(Failure::NotANumber,
                               "Type mismatch: " + subject() + " is not a number");
        }
        throw programError(Failure::OutOfRange, "Overflow: " + subject() + " is out of range");
    }
    if (!(value > 0)) {
        throw programError(Failure::InvalidArgument,
                           "Invalid price: " + subject() + " is not above zero");
    }
    return value;
}

}  // namespace

bool isHeaderLine(std::string_view line) {
    if (!holdsFieldLetters(line)) {
        return false;
    }
    const auto open = secondField(line);
    return !open || !isNumber(*open);
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
    // One pass over the line finds the first five separators, where four searches from each
    // separator on and one more for the end of Close would call the library five times a line.
    std::array<std::size_t, 5> positions{};
    std::size_t found = 0;
    for (std::size_t at = 0; at < line.size() && found < positions.size(); ++at) {
        if (line[at] == separator) {
            positions[found++] = at;
        }
    }
    if (found < 4) {
        return std::nullopt;
    }
    const auto [p1, p2, p3, p4, fifth] = positions;
    auto between = [line](std::size_t from, std::size_t to) {
        return line.substr(from + 1, to - from - 1);
    };
    const std::size_t closeEnd =
        found == 5 && fifth + 1 > kFifthSeparatorMinimum ? fifth : line.size();
    return PriceRecord{rearrangeCompactDate(line.substr(0, p1)), between(p1, p2), between(p2, p3),
                       between(p3, p4), between(p4, closeEnd)};
}

std::array<double, 4> recordPrices(const PriceRecord& record, long recordNumber) {
    const std::array<std::string_view, 4> texts{record.open, record.high, record.low, record.close};
    std::array<double, 4> prices{};
    for (int field = 0; field < 4; ++field) {
        prices[field] = recordPrice(texts[field], field, recordNumber);
    }
    return prices;
}

}  // namespace aurelant
