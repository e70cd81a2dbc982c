#include "pricefile/layoutcheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/numtext.h"
#include "common/textfile.h"
#include "import/cells.h"
#include "import/columns.h"
#include "import/pricecolumns.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

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

std::optional<std::array<double, 4>> LayoutCheck::day(std::string_view line) {
    if (!separator_) {
        separator_ = detectSeparator(line);
        if (!separator_) {
            return std::nullopt;
        }
    }
    const std::size_t dateEnd = line.find(*separator_);
    if (dateEnd == std::string_view::npos) {
        return std::nullopt;
    }
    // The recognition's numbers begin and end with a digit.
    const std::optional<PlainPrices> read = plainPrices(line, dateEnd + 1, *separator_);
    if (!read) {
        return std::nullopt;
    }
    const auto [open, high, low, close] = read->prices;
    const std::optional<DateCell>& date = readDate(line.substr(0, dateEnd));
    const bool bounded = high >= std::max(open, close) && low <= std::min(open, close);
    // Dates written in numbers alone leave the day order to the user's locale; the recognition
    // judges them.
    const bool later = date && (!last_ || date->date > *last_) && !date->timed &&
                       date->writing < DateWriting::UnixSeconds &&
                       date->writing != DateWriting::NumbersFirst &&
                       date->writing == writing_.value_or(date->writing);
    confirmed_ = confirmed_ && bounded && later && read->digitEnds &&
                 read->closeEnd == line.size() && !ended_;
    if (date) {
        last_ = date->date;
        writing_ = writing_.value_or(date->writing);
    }
    follow(read->prices);
    return read->prices;
}

const std::optional<DateCell>& LayoutCheck::readDate(std::string_view text) {
    if (!nextInMonth(text)) {
        // A quote opens a cell that runs past the separator for a reader of quoted cells, as the
        // recognition is: such a line is no record of this layout.
        lastCell_ = text.find('"') == std::string_view::npos
                        ? readDateCell(text, NumericOrder::Lenient)
                        : std::nullopt;
        lastText_.assign(text);
    }
    return lastCell_;
}

namespace {

bool digitAt(std::string_view text, std::size_t at) {
    return isDigit(text[at]);
}

// Whether two texts of the same size hold the same bytes; a date's text, of 8 to 16 bytes, is
// compared as two words that overlap, without a call.
bool sameBytes(std::string_view text, std::string_view other) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    if (text.size() < kWord || text.size() > 2 * kWord) {
        return text == other;
    }
    std::uint64_t words[4];
    std::memcpy(&words[0], text.data(), kWord);
    std::memcpy(&words[1], text.data() + text.size() - kWord, kWord);
    std::memcpy(&words[2], other.data(), kWord);
    std::memcpy(&words[3], other.data() + other.size() - kWord, kWord);
    return ((words[0] ^ words[2]) | (words[1] ^ words[3])) == 0;
}

}  // namespace

// The run of digits, one or two, that holds every byte where the text differs from the date read
// last.
std::optional<LayoutCheck::DigitRun> LayoutCheck::differingDigits(std::string_view text) const {
    std::size_t first = 0;
    while (first < text.size() && text[first] == lastText_[first]) {
        ++first;
    }
    if (first == text.size()) {
        return std::nullopt;
    }
    std::size_t last = text.size() - 1;
    while (text[last] == lastText_[last]) {
        --last;
    }
    while (first > 0 && digitAt(text, first - 1)) {
        --first;
    }
    while (last + 1 < text.size() && digitAt(text, last + 1)) {
        ++last;
    }
    if (last - first > 1) {
        return std::nullopt;
    }
    return DigitRun{first, last - first + 1};
}

// Most days are written as the day before them but for the digits of the day: such a date is
// that day of the same month, as the date reader reads it too, at a fraction of its cost. False
// where the digits that differ cannot be told to be the day's; the date read last is then left to
// be read anew.
bool LayoutCheck::nextInMonth(std::string_view text) {
    if (!lastCell_ || lastCell_->timed || lastCell_->writing == DateWriting::NumbersFirst ||
        text.size() != lastText_.size()) {
        return false;
    }
    if (!dayRun_ || dayRun_->at + dayRun_->length > text.size()) {
        dayRun_ = differingDigits(text);
        if (!dayRun_) {
            return false;
        }
    }
    int before = 0;
    int now = 0;
    for (std::size_t at = dayRun_->at; at < dayRun_->at + dayRun_->length; ++at) {
        if (!digitAt(text, at) || !digitAt(lastText_, at)) {
            return false;
        }
        before = before * 10 + (lastText_[at] - '0');
        now = now * 10 + (text[at] - '0');
        lastText_[at] = text[at];
    }
    if (!sameBytes(text, lastText_)) {
        dayRun_.reset();  // the dates write their day elsewhere
        return false;
    }
    CalendarDate& date = lastCell_->date;
    if (before != date.day || before == date.month || before == date.year % 100) {
        return false;
    }
    // Every month has the first 28 days.
    constexpr int kDaysOfEveryMonth = 28;
    if (now >= 1 && now <= kDaysOfEveryMonth) {
        date.day = now;
        return true;
    }
    const std::optional<CalendarDate> valid = validDate(date.year, date.month, now);
    if (valid) {
        date = *valid;
    }
    return valid.has_value();
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
    spanSum_ += high - low;
    lowSum_ += low;
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
    return confirmed_ && previous_ && apart_ == kAllApart && (header_ || openGap_ <= closeGap_) &&
           !import::tooFarApart(spanSum_, lowSum_);
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
