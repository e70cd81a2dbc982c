#include "pricefile/layoutcheck.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/bytelanes.h"
#include "import/cells.h"
#include "import/columns.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

using import::Difference;

// What a byte after the date can be a sign of.
enum ByteSign : unsigned char {
    kSemicolon = 1,
    kDecoration = 2,  // quote, currency, apostrophe, any byte that is not ASCII
    kLetterOrDash = 4,
    kColon = 8,
    kComma = 16,
};

constexpr std::array<unsigned char, 256> kByteSigns = [] {
    std::array<unsigned char, 256> signs{};
    signs[';'] = kSemicolon;
    for (const char c : std::string_view("\"$'")) {
        signs[static_cast<unsigned char>(c)] = kDecoration;
    }
    for (std::size_t byte = 0x80; byte < signs.size(); ++byte) {
        signs[byte] = kDecoration;
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        signs[static_cast<unsigned char>(c)] = kLetterOrDash;
        signs[static_cast<unsigned char>(c - 'a' + 'A')] = kLetterOrDash;
    }
    signs['-'] = kLetterOrDash;
    signs[':'] = kColon;
    signs[','] = kComma;
    return signs;
}();

// The day of a date field, without the time that may follow it.
// Where `c` first stands in the text, or the text's size. The texts looked through for every line
// are a few bytes long, too short for the library's searches to pay for their start.
std::size_t positionOf(std::string_view text, char c) {
    std::size_t at = 0;
    while (at < text.size() && text[at] != c) {
        ++at;
    }
    return at;
}

bool sameBytes(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (a[at] != b[at]) {
            return false;
        }
    }
    return true;
}

std::string_view dayPart(std::string_view date) {
    const std::size_t colon = positionOf(date, ':');
    if (colon == date.size()) {
        return date;
    }
    const std::size_t cut = date.find_last_of(" T", colon);
    return cut == std::string_view::npos ? date : date.substr(0, cut);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the date may begin with a day above 12, as "13/02/2024" does: one or two digits
// worth more than 12, a mark and a digit.
bool mayShowDayFirst(std::string_view date) {
    if (date.size() < 4 || !isDigit(date[0])) {
        return false;
    }
    const std::size_t mark = isDigit(date[1]) ? 2 : 1;
    const int first = mark == 2 ? (date[0] - '0') * 10 + (date[1] - '0') : date[0] - '0';
    return first > 12 && (date[mark] == '/' || date[mark] == '.' || date[mark] == '-') &&
           isDigit(date[mark + 1]);
}

bool isPlainPriceByte(char c, char separator) {
    return isDigit(c) || c == '.' || c == separator;
}

// Whether the prices are nothing but digits, points and single separators, as nearly every
// line's are; sixteen bytes and the sixteen after each at a time, the last ones overlapping.
bool onlyPlainPrices(std::string_view prices, char separator) {
    constexpr std::size_t kWidth = kLaneCount;
    if (prices.size() <= kWidth) {
        for (std::size_t at = 0; at < prices.size(); ++at) {
            if (!isPlainPriceByte(prices[at], separator) ||
                (at > 0 && prices[at] == separator && prices[at - 1] == separator)) {
                return false;
            }
        }
        return true;
    }
    const std::size_t last = prices.size() - kWidth - 1;
    for (std::size_t at = 0;; at = std::min(at + kWidth, last)) {
        const ByteLanes here = lanesAt(prices.data() + at);
        const ByteLanes separators = here == static_cast<unsigned char>(separator);
        const ByteLanes plain = ((here >= '0') & (here <= '9')) | (here == '.') | separators;
        const ByteLanes paired =
            separators & (lanesAt(prices.data() + at + 1) == static_cast<unsigned char>(separator));
        if (anyLane(~plain | paired)) {
            return false;
        }
        if (at == last) {
            return isPlainPriceByte(prices.back(), separator);
        }
    }
}

std::optional<CalendarDate> calendarDateOf(std::string_view cell) {
    const auto read = readDateCell(cell, NumericOrder::Lenient);
    return read ? std::optional(read->date) : std::nullopt;
}

}  // namespace

void LayoutCheck::header(std::string_view line) {
    if (headerSeen_) {
        return;
    }
    headerSeen_ = true;
    std::vector<std::string_view> cells;
    import::splitFields(line, hasFourSeparators(line, ',') ? ',' : '\t', cells);
    const auto columns = import::headerColumns(cells);
    using import::Role;
    if (columns && ((*columns)[Role::Date] != 0U || (*columns)[Role::Open] != 1U ||
                    (*columns)[Role::High] != 2U || (*columns)[Role::Low] != 3U ||
                    (*columns)[Role::Close] != 4U || (*columns)[Role::Time])) {
        signs_.insert(Difference::Columns);
    }
}

void LayoutCheck::firstRecord(std::string_view line) {
    separator_ = detectSeparator(line);
    if (line.find(';') != std::string_view::npos &&
        std::count(line.begin(), line.end(), ';') >= 4) {
        signs_.insert(Difference::Semicolons);
    }
    const std::string_view date = line.substr(0, line.find(separator_.value_or(',')));
    if (!readDateCell(date, NumericOrder::Lenient)) {
        signs_.insert(Difference::Columns);
    }
}

void LayoutCheck::record(std::string_view line) {
    if (records_++ == 0) {
        firstRecord(line);
    }
    if (!separator_) {
        return;
    }
    const std::size_t dateEnd = positionOf(line, *separator_);
    if (dateEnd == line.size()) {
        return;  // not a record to the prediction either
    }
    dateOf(line.substr(0, dateEnd));
    pricesOf(line, line.substr(dateEnd + 1));
}

void LayoutCheck::pricesOf(std::string_view line, std::string_view afterDate) {
    const char separator = *separator_;
    if (!afterDate.empty() && afterDate.front() != separator &&
        onlyPlainPrices(afterDate, separator)) {
        return;
    }
    unsigned found = 0;
    bool emptyField = afterDate.empty();
    bool afterSeparator = true;  // a separator first leaves the first price empty
    for (const char c : afterDate) {
        const bool isSeparator = c == separator;
        emptyField = emptyField || (isSeparator && afterSeparator);
        afterSeparator = isSeparator;
        found |= kByteSigns[static_cast<unsigned char>(c)];
    }
    if ((found & kSemicolon) != 0U) {
        signs_.insert(Difference::Semicolons);
    }
    if ((found & kDecoration) != 0U) {
        signs_.insert(Difference::Decorations);
    }
    if ((found & kColon) != 0U) {
        signs_.insert(Difference::Columns);
    }
    if ((found & kComma) != 0U && separator == '\t') {
        signs_.insert(Difference::DecimalCommas);
        signs_.insert(Difference::Decorations);
    }
    if ((found & kLetterOrDash) != 0U || emptyField) {
        if (const auto record = splitRecord(line, separator)) {
            for (const std::string_view price :
                 {record->open, record->high, record->low, record->close}) {
                if (import::isPlaceholder(price)) {
                    signs_.insert(Difference::Placeholders);
                }
            }
        }
    }
}

void LayoutCheck::dateOf(std::string_view date) {
    if (mayShowDayFirst(date)) {
        const auto cell = readDateCell(date, NumericOrder::Lenient);
        if (cell && cell->writing == DateWriting::NumbersFirst && cell->first > 12) {
            signs_.insert(Difference::DayFirst);
        }
    }
    const std::string_view day = dayPart(date);
    // One repeat is a day added twice by hand; bars within the day repeat every date.
    if (records_ > 1 && sameBytes(day, std::string_view(lastDate_).substr(0, lastDayLength_)) &&
        ++repeats_ > 1) {
        signs_.insert(Difference::Intraday);
        signs_.insert(Difference::Repeats);
    }
    if (records_ <= 2) {
        (records_ == 1 ? firstDate_ : secondDate_) = calendarDateOf(date);
    }
    lastDate_.assign(date);
    lastDayLength_ = day.size();
}

std::set<import::Difference> LayoutCheck::signs() {
    const auto lastDate = calendarDateOf(lastDate_);
    if (firstDate_ && secondDate_ && lastDate && *secondDate_ < *firstDate_ &&
        *lastDate < *firstDate_) {
        signs_.insert(Difference::NewestFirst);
    }
    return signs_;
}

}  // namespace aurelant
