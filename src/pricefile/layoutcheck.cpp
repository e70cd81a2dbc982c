#include "pricefile/layoutcheck.h"

#include <algorithm>
#include <array>
#include <vector>

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
std::string_view dayPart(std::string_view date) {
    const std::size_t colon = date.find(':');
    if (colon == std::string_view::npos) {
        return date;
    }
    const std::size_t cut = date.find_last_of(" T", colon);
    return cut == std::string_view::npos ? date : date.substr(0, cut);
}

bool mayBeNumericDate(std::string_view date) {
    auto mark = [&](std::size_t at) {
        return at < date.size() && (date[at] == '/' || date[at] == '.' || date[at] == '-');
    };
    return !date.empty() && date[0] >= '0' && date[0] <= '9' && (mark(1) || mark(2));
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
    if (!import::cellDate(date, NumericOrder::Lenient)) {
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
    const std::size_t dateEnd = line.find(*separator_);
    if (dateEnd == std::string_view::npos) {
        return;  // not a record to the prediction either
    }
    dateOf(line.substr(0, dateEnd));
    pricesOf(line, line.substr(dateEnd + 1));
}

void LayoutCheck::pricesOf(std::string_view line, std::string_view afterDate) {
    unsigned found = 0;
    bool emptyField = afterDate.empty() || afterDate.front() == *separator_;
    char previous = 0;
    for (const char c : afterDate) {
        found |= kByteSigns[static_cast<unsigned char>(c)];
        emptyField = emptyField || (c == *separator_ && previous == *separator_);
        previous = c;
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
    if ((found & kComma) != 0U && *separator_ == '\t') {
        signs_.insert(Difference::DecimalCommas);
        signs_.insert(Difference::Decorations);
    }
    if ((found & kLetterOrDash) != 0U || emptyField) {
        if (const auto record = splitRecord(line, *separator_)) {
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
    if (mayBeNumericDate(date)) {
        const auto pair = import::leadingPair(date);
        if (pair && pair->first > 12) {
            signs_.insert(Difference::DayFirst);
        }
    }
    const std::string_view day = dayPart(date);
    // One repeat is a day added twice by hand; bars within the day repeat every date.
    if (records_ > 1 && day == previousDay_ && ++repeats_ > 1) {
        signs_.insert(Difference::Intraday);
        signs_.insert(Difference::Repeats);
    }
    previousDay_.assign(day);
    if (records_ <= 2) {
        (records_ == 1 ? firstDate_ : secondDate_) = import::cellDate(date, NumericOrder::Lenient);
    }
    lastDate_.assign(date);
}

std::set<import::Difference> LayoutCheck::signs() {
    const auto lastDate = import::cellDate(lastDate_, NumericOrder::Lenient);
    if (firstDate_ && secondDate_ && lastDate && *secondDate_ < *firstDate_ &&
        *lastDate < *firstDate_) {
        signs_.insert(Difference::NewestFirst);
    }
    return signs_;
}

}  // namespace aurelant
