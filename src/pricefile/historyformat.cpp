#include "pricefile/historyformat.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/bytelanes.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/historylimits.h"
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

constexpr std::array<const char*, 4> kPriceNames{"Open", "High", "Low", "Close"};

// For each byte, the bit of the letter O, H, L or C that it is in either case, and kNotAscii for
// the bytes from 0x80 on, whose case the C library's rules decide.
constexpr unsigned kAllFieldLetters = 15;
constexpr unsigned kNotAscii = 16;
constexpr std::array<unsigned char, 256> kFieldLetterBits = [] {
    std::array<unsigned char, 256> bits{};
    const std::string_view letters = "OHLC";
    for (std::size_t letter = 0; letter < letters.size(); ++letter) {
        bits[static_cast<unsigned char>(letters[letter])] = 1U << letter;
        bits[static_cast<unsigned char>(letters[letter] + ('a' - 'A'))] = 1U << letter;
    }
    for (std::size_t byte = 0x80; byte < bits.size(); ++byte) {
        bits[byte] = kNotAscii;
    }
    return bits;
}();

// The letters O, H, L and C that the line holds, in one pass where the full rule calls the C
// library for every byte and letter; nothing when a byte is not ASCII. Every line that Open reads
// passes here: sixteen bytes at a time, the last ones overlapping, a look-up a byte in a short
// line.
std::optional<unsigned> asciiFieldLetters(std::string_view line) {
    unsigned found = 0;
    if (line.size() < kLaneCount) {
        for (const char c : line) {
            found |= kFieldLetterBits[static_cast<unsigned char>(c)];
        }
    } else {
        ByteLanes letters[4] = {};
        ByteLanes notAscii = {};
        const std::size_t last = line.size() - kLaneCount;
        for (std::size_t at = 0;; at = std::min(at + kLaneCount, last)) {
            const ByteLanes bytes = lanesAt(line.data() + at);
            const ByteLanes lowerCase = bytes | 0x20;  // and nothing else becomes o, h, l or c
            for (std::size_t letter = 0; letter < 4; ++letter) {
                letters[letter] |= lowerCase == static_cast<unsigned char>("ohlc"[letter]);
            }
            notAscii |= bytes >= 0x80;
            if (at == last) {
                break;
            }
        }
        for (std::size_t letter = 0; letter < 4; ++letter) {
            found |= anyLane(letters[letter]) ? 1U << letter : 0U;
        }
        found |= anyLane(notAscii) ? kNotAscii : 0U;
    }
    if ((found & kNotAscii) != 0) {
        return std::nullopt;
    }
    return found;
}

bool holdsFieldLetters(std::string_view line) {
    if (const std::optional<unsigned> letters = asciiFieldLetters(line)) {
        return *letters == kAllFieldLetters;
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

double recordPrice(std::string_view text, int field, long recordNumber) {
    // Made only for a message: a run reads every price of the file through here.
    auto subject = [&] {
        return "the " + std::string(kPriceNames[field]) + " of record " +
               std::to_string(recordNumber) + " (" + shownValue(text) + ")";
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
    if (!isPossiblePrice(value)) {
        throw programError(Failure::OutOfRange, "Overflow: " + subject() +
                                                    " is out of range: a price lies between "
                                                    "0.000000000001 and 1000000000000");
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
    if (line.size() <= kShortLineLength) {
        return true;
    }
    // A character takes at most four bytes, and sixteen ASCII bytes are sixteen characters.
    if (line.size() > 4 * kShortLineLength) {
        return false;
    }
    if (line.size() >= kLaneCount) {
        ByteLanes notAscii = {};
        notAscii |= lanesAt(line.data()) >= 0x80;
        if (!anyLane(notAscii)) {
            return false;
        }
    }
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

bool passesFormatCheck(const std::string& path) {
    LineReader reader(path);
    std::string sample;
    std::string line;
    for (std::size_t number = 1; number <= kSampleLine && reader.next(line); ++number) {
        sample.swap(line);
    }
    return looksLikePriceData(sample);
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

std::optional<PlainPrices> plainPrices(std::string_view line, std::size_t at, char separator) {
    PlainPrices read;
    const char* next = line.data() + at;
    const char* const lineEnd = line.data() + line.size();
    for (std::size_t field = 0; field < read.prices.size(); ++field) {
        // A sign is refused: no negative number, nor a negative zero, is a possible price.
        const char* const start = next;
        const char* point = nullptr;
        std::uint64_t digits = 0;  // wraps harmlessly past 19 digits: such texts are refused
        for (; next != lineEnd; ++next) {
            const auto digit = static_cast<unsigned char>(*next - '0');
            if (digit < 10) {
                digits = digits * 10 + digit;
            } else if (*next == separator) {
                break;
            } else if (*next == '.' && point == nullptr) {
                point = next;
            } else {
                return std::nullopt;
            }
        }
        const auto length = static_cast<std::size_t>(next - start);
        const std::size_t digitCount = length - (point != nullptr ? 1 : 0);
        if (digitCount == 0 || digitCount > kPlainDecimalDigits ||
            (next == lineEnd && field + 1 < read.prices.size())) {
            return std::nullopt;
        }
        const auto decimals = point != nullptr ? static_cast<std::size_t>(next - point - 1) : 0;
        read.prices[field] = plainDecimalValue(digits, decimals);
        if (!isPossiblePrice(read.prices[field])) {
            return std::nullopt;
        }
        // All but the point are digits.
        read.digitEnds = read.digitEnds && (point == nullptr || (point != start && decimals != 0));
        ++next;
    }
    read.closeEnd = static_cast<std::size_t>(next - 1 - line.data());
    return read;
}

std::optional<PlainRecord> plainRecord(std::string_view line, char separator) {
    const std::size_t dateEnd = line.find(separator);
    if (dateEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<PlainPrices> read = plainPrices(line, dateEnd + 1, separator);
    // A fifth separator that does not end Close leaves the rest of the line in it.
    if (!read || (read->closeEnd != line.size() && read->closeEnd + 1 <= kFifthSeparatorMinimum)) {
        return std::nullopt;
    }
    return PlainRecord{line.substr(0, dateEnd), read->prices};
}

std::array<double, 4> recordPrices(const PriceRecord& record, long recordNumber) {
    const std::array<std::string_view, 4> texts{record.open, record.high, record.low, record.close};
    std::array<double, 4> prices{};
    for (int field = 0; field < 4; ++field) {
        prices[field] = recordPrice(texts[field], field, recordNumber);
    }
    return prices;
}

std::optional<std::array<double, 4>> readablePrices(std::string_view line, char separator) {
    const std::optional<PriceRecord> fields = splitRecord(line, separator);
    if (!fields) {
        return std::nullopt;
    }
    try {
        return recordPrices(*fields, 0);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

void RecordCheck::plainDay(std::string_view line) {
    if (++count_ == 1) {
        separator_ = detectSeparator(line);
    }
}

void RecordCheck::record(std::string_view line) {
    plainDay(line);
    if (refusal_ || !separator_) {
        return;
    }
    if (const std::optional<PriceRecord> split = splitRecord(line, *separator_)) {
        try {
            recordPrices(*split, count_);
        } catch (const AppError& error) {
            refusal_ = error;
        }
    }
}

}  // namespace aurelant
