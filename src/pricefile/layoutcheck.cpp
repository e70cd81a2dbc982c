#include "pricefile/layoutcheck.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "common/textfile.h"
#include "import/cells.h"
#include "import/columns.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

// The four prices after the date, read in one pass: plain decimals (digits and at most one point)
// that are possible prices, each ended by the separator, Close by the end of the line or a
// separator; `end` is where Close ends. Nothing for any other line, which the recognition judges
// instead.
std::optional<std::array<double, 4>> plainPrices(std::string_view line, std::size_t at,
                                                 char separator, std::size_t& end) {
    std::array<double, 4> prices{};
    for (double& price : prices) {
        const std::optional<PlainDecimal> decimal = plainDecimal(line.substr(at), separator);
        if (!decimal || !isPossiblePrice(decimal->value)) {
            return std::nullopt;
        }
        at += decimal->length;
        if (at == line.size() && &price != &prices.back()) {
            return std::nullopt;
        }
        price = decimal->value;
        end = at++;
    }
    return prices;
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// A header the recognition reads as this program's: five fields, the last four named Open, High,
// Low and Close in words it knows.
std::optional<char> ownHeaderSeparator(std::string_view line) {
    const std::optional<char> separator = detectSeparator(line);
    if (!separator || std::count(line.begin(), line.end(), *separator) != 4) {
        return std::nullopt;
    }
    std::vector<std::string_view> cells;
    import::splitFields(line, *separator, cells);
    const import::Role prices[] = {import::Role::Open, import::Role::High, import::Role::Low,
                                   import::Role::Close};
    for (std::size_t column = 1; column <= 4; ++column) {
        if (cells.size() != 5 ||
            import::roleOfName(import::unquoted(cells[column])) != prices[column - 1]) {
            return std::nullopt;
        }
    }
    return separator;
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
    std::size_t closeEnd = 0;
    const auto prices = plainPrices(line, dateEnd + 1, *separator_, closeEnd);
    if (!prices) {
        return false;
    }
    const auto [open, high, low, close] = *prices;
    const std::optional<DateCell> date =
        readDateCell(line.substr(0, dateEnd), NumericOrder::Lenient);
    const bool bounded = high >= std::max(open, close) && low <= std::min(open, close);
    // Dates written in numbers alone leave the day order to the user's locale; the recognition
    // judges them.
    const bool later = date && (!last_ || date->date > *last_) && !date->timed &&
                       date->writing < DateWriting::UnixSeconds &&
                       date->writing != DateWriting::NumbersFirst &&
                       date->writing == writing_.value_or(date->writing);
    confirmed_ = confirmed_ && bounded && later && closeEnd == line.size() && !ended_;
    if (date) {
        last_ = date->date;
        writing_ = writing_.value_or(date->writing);
    }
    follow(*prices);
    return true;
}

void LayoutCheck::follow(const std::array<double, 4>& prices) {
    const auto [open, high, low, close] = prices;
    apart_ |= (open < high ? 1U : 0U) | (close < high ? 2U : 0U) | (low < high ? 4U : 0U) |
              (low < open ? 8U : 0U) | (low < close ? 16U : 0U);
    if (previous_) {
        openGap_ += std::fabs(open - (*previous_)[3]);
        closeGap_ += std::fabs(close - (*previous_)[0]);
    }
    previous_ = prices;
}

void LayoutCheck::header(std::string_view line) {
    const std::optional<char> separator = ownHeaderSeparator(line);
    confirmed_ = confirmed_ && separator && !header_ && !previous_;
    header_ = true;
    separator_ = separator_ ? separator_ : separator;
}

void LayoutCheck::shortLine(std::string_view line) {
    if (isBlank(line)) {
        return;
    }
    // A note among the days, between the header and the days, or one that may split into a
    // record's fields.
    confirmed_ = confirmed_ && !(header_ && !previous_) && !hasFourSeparators(line, ',') &&
                 !hasFourSeparators(line, '\t');
    ended_ = ended_ || previous_.has_value();
}

bool LayoutCheck::confirmed() const {
    // Where a price equals High (or Low) on every day, the recognition may take it for High (Low).
    constexpr unsigned kAllApart = 31;
    return confirmed_ && previous_ && apart_ == kAllApart && (header_ || openGap_ <= closeGap_);
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
