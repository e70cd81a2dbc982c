#include "pricefile/layoutcheck.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/numtext.h"
#include "common/textfile.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

// Up to so many digits, the digits and their power of ten are exact doubles.
constexpr std::size_t kExactDigits = 15;
constexpr std::array<double, kExactDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The four prices after the date, read in one pass: plain decimals (digits and at most one point)
// that are possible prices, each ended by the separator (Close by the end of the line too; what
// follows Close, a volume say, is left alone). Nothing for any other line, which the recognition
// judges instead. The prediction's rule that a fifth separator within the first nine characters
// does not end Close cannot meet a line with a date.
std::optional<std::array<double, 4>> plainPrices(std::string_view line, std::size_t at,
                                                 char separator) {
    std::array<double, 4> prices{};
    for (double& price : prices) {
        std::uint64_t digits = 0;
        const std::size_t start = at;
        std::size_t point = std::string_view::npos;
        for (; at < line.size() && line[at] != separator; ++at) {
            const auto digit = static_cast<unsigned char>(line[at] - '0');
            if (digit <= 9) {
                digits = digits * 10 + digit;
            } else if (line[at] == '.' && point == std::string_view::npos) {
                point = at;
            } else {
                return std::nullopt;
            }
        }
        const bool pointed = point != std::string_view::npos;
        const std::size_t count = at - start - (pointed ? 1 : 0);
        if (count == 0 || count > kExactDigits || (at == line.size() && &price != &prices.back())) {
            return std::nullopt;
        }
        price = static_cast<double>(digits) / kPowersOfTen[pointed ? at - point - 1 : 0];
        if (!isPossiblePrice(price)) {
            return std::nullopt;
        }
        ++at;
    }
    return prices;
}

}  // namespace

bool LayoutCheck::day(std::string_view line) {
    if (!separator_) {
        separator_ = detectSeparator(line);
        if (!separator_) {
            return false;
        }
    }
    // A plain look: the date is a few bytes long, too short for the library's search to pay.
    std::size_t dateEnd = 0;
    while (dateEnd < line.size() && line[dateEnd] != *separator_) {
        ++dateEnd;
    }
    if (dateEnd == line.size()) {
        return false;
    }
    const auto prices = plainPrices(line, dateEnd + 1, *separator_);
    if (!prices) {
        return false;
    }
    const auto [open, high, low, close] = *prices;
    const std::optional<DateCell> date =
        readDateCell(line.substr(0, dateEnd), NumericOrder::Lenient);
    const bool bounded = high >= std::max(open, close) && low <= std::min(open, close);
    const bool later = date && (!last_ || date->date > *last_) &&
                       date->writing < DateWriting::UnixSeconds && !date->timed &&
                       !(date->writing == DateWriting::NumbersFirst && date->first > 12);
    confirmed_ = confirmed_ && bounded && later;
    if (date) {
        last_ = date->date;
    }
    return true;
}

bool runsNewestFirst(const std::string& path) {
    LineReader reader(path);
    std::optional<char> separator;
    std::optional<CalendarDate> previous;
    std::size_t records = 0;
    for (std::string_view line; reader.next(line);) {
        if (isShortLine(line) || isHeaderLine(line)) {
            continue;
        }
        separator = separator ? separator : detectSeparator(line);
        const std::optional<DateCell> date =
            readDateCell(line.substr(0, line.find(separator.value_or(','))), NumericOrder::Lenient);
        if (!date || (previous && !(date->date < *previous))) {
            return false;
        }
        previous = date->date;
        ++records;
    }
    return records > 1;
}

}  // namespace aurelant
