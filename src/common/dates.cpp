#include "common/dates.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/numtext.h"

namespace aurelant {
namespace {

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days from 1970-01-01 to a proleptic Gregorian date.
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalendarDate civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

const long kDayZero = daysFromCivil(1899, 12, 30);

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

struct Token {
    std::string text;
    bool numeric = false;
    int value = 0;  // the number, or the month 1..12 of a month name (0: not a month)
};

// The first letters of month names in the languages of the traders the program meets, lower
// case; a word is the month of the longest of them it begins with ("juil" before "jui").
struct MonthPrefix {
    std::string_view letters;
    int month;
};
constexpr MonthPrefix kMonthPrefixes[] = {
    // English, German, Dutch, Swedish, Italian, Spanish, Portuguese, French, Turkish, Polish
    {"jan", 1},
    {"feb", 2},
    {"mar", 3},
    {"apr", 4},
    {"may", 5},
    {"jun", 6},
    {"jul", 7},
    {"aug", 8},
    {"sep", 9},
    {"oct", 10},
    {"nov", 11},
    {"dec", 12},
    {"m\xC3\xA4r", 3},
    {"mrz", 3},
    {"mai", 5},
    {"okt", 10},
    {"dez", 12},
    {"mrt", 3},
    {"mei", 5},
    {"maj", 5},
    {"gen", 1},
    {"mag", 5},
    {"giu", 6},
    {"lug", 7},
    {"ago", 8},
    {"set", 9},
    {"ott", 10},
    {"dic", 12},
    {"ene", 1},
    {"abr", 4},
    {"fev", 2},
    {"out", 10},
    {"janv", 1},
    {"f\xC3\xA9v", 2},
    {"avr", 4},
    {"juin", 6},
    {"juil", 7},
    {"ao\xC3\xBB", 8},
    {"d\xC3\xA9"
     "c",
     12},
    {"oca", 1},
    {"\xC5\x9F"
     "ub",
     2},
    {"nis", 4},
    {"haz", 6},
    {"tem", 7},
    {"a\xC4\x9Fu", 8},
    {"eyl", 9},
    {"eki", 10},
    {"kas", 11},
    {"ara", 12},
    {"sty", 1},
    {"lut", 2},
    {"kwi", 4},
    {"cze", 6},
    {"lip", 7},
    {"sie", 8},
    {"wrz", 9},
    {"pa\xC5\xBA", 10},
    {"lis", 11},
    {"gru", 12},
    // Norwegian, Danish, Indonesian, Hungarian
    {"des", 12},
    {"agu", 8},
    {"agt", 8},
    {"m\xC3\xA1r", 3},
    {"\xC3\xA1pr", 4},
    {"m\xC3\xA1j", 5},
    {"j\xC3\xBAn", 6},
    {"j\xC3\xBAl", 7},
    {"szept", 9},
    // Russian
    {"\xD1\x8F\xD0\xBD\xD0\xB2", 1},
    {"\xD1\x84\xD0\xB5\xD0\xB2", 2},
    {"\xD0\xBC\xD0\xB0\xD1\x80", 3},
    {"\xD0\xB0\xD0\xBF\xD1\x80", 4},
    {"\xD0\xBC\xD0\xB0\xD1\x8F", 5},
    {"\xD0\xBC\xD0\xB0\xD0\xB9", 5},
    {"\xD0\xB8\xD1\x8E\xD0\xBD", 6},
    {"\xD0\xB8\xD1\x8E\xD0\xBB", 7},
    {"\xD0\xB0\xD0\xB2\xD0\xB3", 8},
    {"\xD1\x81\xD0\xB5\xD0\xBD", 9},
    {"\xD0\xBE\xD0\xBA\xD1\x82", 10},
    {"\xD0\xBD\xD0\xBE\xD1\x8F", 11},
    {"\xD0\xB4\xD0\xB5\xD0\xBA", 12},
    // Ukrainian
    {"\xD1\x81\xD1\x96\xD1\x87", 1},
    {"\xD0\xBB\xD1\x8E\xD1\x82", 2},
    {"\xD0\xB1\xD0\xB5\xD1\x80", 3},
    {"\xD0\xBA\xD0\xB2\xD1\x96", 4},
    {"\xD1\x82\xD1\x80\xD0\xB0", 5},
    {"\xD1\x87\xD0\xB5\xD1\x80", 6},
    {"\xD0\xBB\xD0\xB8\xD0\xBF", 7},
    {"\xD1\x81\xD0\xB5\xD1\x80", 8},
    {"\xD0\xB2\xD0\xB5\xD1\x80", 9},
    {"\xD0\xB6\xD0\xBE\xD0\xB2", 10},
    {"\xD0\xBB\xD0\xB8\xD1\x81", 11},
    {"\xD0\xB3\xD1\x80\xD1\x83", 12},
    // Malay
    {"mac", 3},
    {"ogo", 8},
    {"dis", 12},
    // Hindi
    {"\xE0\xA4\x9C\xE0\xA4\xA8", 1},
    {"\xE0\xA4\xAB\xE0\xA4\xB0", 2},
    {"\xE0\xA4\xAB\xE0\xA4\xBC\xE0\xA4\xB0", 2},
    {"\xE0\xA4\xAE\xE0\xA4\xBE\xE0\xA4\xB0", 3},
    {"\xE0\xA4\x85\xE0\xA4\xAA\xE0\xA5\x8D\xE0\xA4\xB0", 4},
    {"\xE0\xA4\xAE\xE0\xA4\x88", 5},
    {"\xE0\xA4\x9C\xE0\xA5\x82\xE0\xA4\xA8", 6},
    {"\xE0\xA4\x9C\xE0\xA5\x81\xE0\xA4\xB2", 7},
    {"\xE0\xA4\x85\xE0\xA4\x97", 8},
    {"\xE0\xA4\xB8\xE0\xA4\xBF\xE0\xA4\xA4", 9},
    {"\xE0\xA4\x85\xE0\xA4\x95\xE0\xA5\x8D", 10},
    {"\xE0\xA4\xA8\xE0\xA4\xB5", 11},
    {"\xE0\xA4\xA6\xE0\xA4\xBF\xE0\xA4\xB8", 12},
    // Greek
    {"\xCE\xB9\xCE\xB1\xCE\xBD", 1},
    {"\xCF\x86\xCE\xB5\xCE\xB2", 2},
    {"\xCE\xBC\xCE\xB1\xCF\x81", 3},
    {"\xCE\xB1\xCF\x80\xCF\x81", 4},
    {"\xCE\xBC\xCE\xB1\xCE\xB9", 5},
    {"\xCE\xBC\xCE\xB1\xCE\x90", 5},
    {"\xCE\xBC\xCE\xB1\xCF\x8A", 5},
    {"\xCE\xB9\xCE\xBF\xCF\x85\xCE\xBD", 6},
    {"\xCE\xB9\xCE\xBF\xCF\x85\xCE\xBB", 7},
    {"\xCE\xB1\xCF\x85\xCE\xB3", 8},
    {"\xCF\x83\xCE\xB5\xCF\x80", 9},
    {"\xCE\xBF\xCE\xBA\xCF\x84", 10},
    {"\xCE\xBD\xCE\xBF\xCE\xB5", 11},
    {"\xCE\xB4\xCE\xB5\xCE\xBA", 12},
};

// Words that stand between the parts of a date without being one: "12 de febrero de 2024".
constexpr std::string_view kJoiningWords[] = {"de", "del", "do", "da", "st",
                                              "nd", "rd",  "th", "er"};  // 1st, 1er

// The characters that CJK dates put after the year, month and day: 年 月 日 년 월 일.
constexpr std::string_view kDatePartMarks[] = {"\xE5\xB9\xB4", "\xE6\x9C\x88", "\xE6\x97\xA5",
                                               "\xEB\x85\x84", "\xEC\x9B\x94", "\xEC\x9D\xBC"};

// Lower case of the letters month names use: ASCII, Latin-1 accented capitals, Cyrillic, Greek,
// and the Turkish capitals with breve and cedilla.
std::string lowerLetters(std::string_view word) {
    std::string lower(word);
    for (std::size_t at = 0; at < lower.size(); ++at) {
        auto byte = static_cast<unsigned char>(lower[at]);
        if (byte >= 'A' && byte <= 'Z') {
            lower[at] = static_cast<char>(byte + 32);
        } else if (at + 1 < lower.size()) {
            auto next = static_cast<unsigned char>(lower[at + 1]);
            if ((byte == 0xC3 && next >= 0x80 && next <= 0x9E) ||
                (byte == 0xD0 && next >= 0x90 && next <= 0x9F) ||
                (byte == 0xCE && next >= 0x91 && next <= 0x9F)) {
                lower[at + 1] = static_cast<char>(next + 0x20);
            } else if ((byte == 0xD0 && next >= 0xA0 && next <= 0xAF) ||
                       (byte == 0xCE && next >= 0xA0 && next <= 0xAB)) {
                lower[at] = static_cast<char>(byte + 1);
                lower[at + 1] = static_cast<char>(next - 0x20);
            } else if ((byte == 0xC5 && next == 0x9E) || (byte == 0xC4 && next == 0x9E)) {
                lower[at + 1] = static_cast<char>(next + 1);
            }
        }
    }
    return lower;
}

// The bytes that month names begin with: the words of most cells begin otherwise.
constexpr std::array<bool, 256> kMonthInitials = [] {
    std::array<bool, 256> initials{};
    for (const MonthPrefix& prefix : kMonthPrefixes) {
        initials[static_cast<unsigned char>(prefix.letters.front())] = true;
    }
    return initials;
}();

// The month a lower-case word names; 0 for none.
int monthFromName(const std::string& lower) {
    if (lower.empty() || !kMonthInitials[static_cast<unsigned char>(lower.front())]) {
        return 0;
    }
    int month = 0;
    std::size_t longest = 0;
    for (const MonthPrefix& prefix : kMonthPrefixes) {
        if (prefix.letters.size() > longest && lower.starts_with(prefix.letters)) {
            month = prefix.month;
            longest = prefix.letters.size();
        }
    }
    return month;
}

bool isDateMark(char c) {
    return c == '-' || c == '/' || c == ' ' || c == ',' || c == '.' || c == '\t';
}

std::vector<Token> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::string current;
    auto flush = [&] {
        if (current.empty()) {
            return;
        }
        Token token{current};
        const bool digits =
            current.size() <= 4 && std::all_of(current.begin(), current.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            });
        bool joining = false;
        if (digits) {
            token.numeric = true;
            std::from_chars(current.data(), current.data() + current.size(), token.value);
        } else if (!std::isdigit(static_cast<unsigned char>(current.front()))) {
            const std::string lower = lowerLetters(current);
            token.value = monthFromName(lower);
            joining = std::find(std::begin(kJoiningWords), std::end(kJoiningWords), lower) !=
                      std::end(kJoiningWords);
        }
        if (!joining) {
            tokens.push_back(token);
        }
        current.clear();
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool wide = static_cast<unsigned char>(text[at]) >= 0x80;  // as every mark is
        const auto mark =
            wide ? std::find_if(std::begin(kDatePartMarks), std::end(kDatePartMarks),
                                [&](std::string_view m) { return text.substr(at).starts_with(m); })
                 : std::end(kDatePartMarks);
        if (mark != std::end(kDatePartMarks)) {
            flush();
            at += mark->size() - 1;
        } else if (isDateMark(text[at])) {
            flush();
        } else {
            // Digits and the letters after them are words of their own ("02Jan2024", "1st"); so
            // are a month's letters and the digits after them, but no other word glued to digits.
            if (!current.empty() &&
                (isDigit(current.back())
                     ? isLetter(text[at])
                     : isDigit(text[at]) && monthFromName(lowerLetters(current)) > 0)) {
                flush();
            }
            current += text[at];
        }
    }
    flush();
    return tokens;
}

int fullYear(const Token& token) {
    if (token.text.size() <= 2) {
        return token.value < 30 ? 2000 + token.value : 1900 + token.value;
    }
    return token.value;
}

std::optional<CalendarDate> checked(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return CalendarDate{year, month, day};
}

// Leaves out a time of day after the date and a weekday before it.
void leaveOutTimeAndWeekday(std::vector<Token>& tokens) {
    if (tokens.size() == 4 && tokens[3].text.find(':') != std::string::npos) {
        tokens.pop_back();
    }
    if (tokens.size() == 4 && !tokens[0].numeric && tokens[0].value == 0) {
        tokens.erase(tokens.begin());  // "Mon, 12 Feb 2024"
    }
}

// The date of tokens read from a text, with the time of day and a weekday before it left out.
std::optional<CalendarDate> dateOfTokens(std::vector<Token> tokens, NumericOrder order) {
    leaveOutTimeAndWeekday(tokens);
    if (tokens.size() != 3) {
        return std::nullopt;
    }
    const Token& a = tokens[0];
    const Token& b = tokens[1];
    const Token& c = tokens[2];
    if (!a.numeric && a.value > 0 && b.numeric && c.numeric) {  // Jan 5, 2004
        return checked(fullYear(c), a.value, b.value);
    }
    if (a.numeric && !b.numeric && b.value > 0 && c.numeric) {  // 05-Jan-2004, 2004-Jan-05
        return a.text.size() > 2 ? checked(a.value, b.value, c.value)
                                 : checked(fullYear(c), b.value, a.value);
    }
    if (!(a.numeric && b.numeric && c.numeric)) {
        return std::nullopt;
    }
    if (a.text.size() > 2) {  // 2004-01-05
        return checked(a.value, b.value, c.value);
    }
    if (order == NumericOrder::DayFirst) {
        return checked(fullYear(c), b.value, a.value);
    }
    // Month first (01/05/2004); leniently, a first number above 12 can only be the day.
    if (order == NumericOrder::Lenient && a.value > 12 && b.value <= 12) {
        return checked(fullYear(c), b.value, a.value);
    }
    return checked(fullYear(c), a.value, b.value);
}

// The cell without blanks and double quotes at either end.
std::string_view bareCell(std::string_view cell) {
    auto trim = [](std::string_view text) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        }
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        }
        return text;
    };
    cell = trim(cell);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
        cell = trim(cell.substr(1, cell.size() - 2));
    }
    return cell;
}

// The number that the `length` digits at `from` write, a few at most.
int numberAt(std::string_view text, std::size_t from, std::size_t length) {
    int value = 0;
    for (const char digit : text.substr(from, length)) {
        value = value * 10 + (digit - '0');
    }
    return value;
}

// The fewest digits of unix time, in seconds; a fraction after them has as many at the most.
constexpr std::size_t kUnixDigits = 9;

// Unix time of 9 to 19 digits, its unit told by their count, between 1970 and 2100.
std::optional<DateCell> unixDate(std::string_view digits) {
    struct Unit {
        std::size_t fewest;
        std::size_t most;
        std::uint64_t perDay;
        DateWriting writing;
    };
    constexpr Unit kUnits[] = {{kUnixDigits, 10, 86400ULL, DateWriting::UnixSeconds},
                               {12, 13, 86400000ULL, DateWriting::UnixMillis},
                               {15, 16, 86400000000ULL, DateWriting::UnixMicros},
                               {18, 19, 86400000000000ULL, DateWriting::UnixNanos}};
    const long lastDay = daysFromCivil(2100, 12, 31);
    for (const Unit& unit : kUnits) {
        if (digits.size() < unit.fewest || digits.size() > unit.most) {
            continue;
        }
        std::uint64_t value = 0;
        for (const char digit : digits) {
            value = value * 10 + static_cast<std::uint64_t>(digit - '0');
        }
        const auto day = static_cast<long>(value / unit.perDay);
        if (day > lastDay) {
            return std::nullopt;
        }
        return DateCell{civilFromDays(day), unit.writing, value % unit.perDay != 0};
    }
    return std::nullopt;
}

// A date of digits and marks only, read without the general tokenizer, which a file of 30,000
// days would feel: "2024-02-07", "07.02.24", "2024/2/7", "20240207", unix time.
// Unix time with a fraction after its point, as a spreadsheet or a script writes it.
std::optional<DateCell> unixDateWithFraction(std::string_view text, std::size_t wholeDigits) {
    std::optional<DateCell> read = unixDate(text.substr(0, wholeDigits));
    if (read && text.find_first_not_of('0', wholeDigits + 1) != std::string_view::npos) {
        read->timed = true;
    }
    return read;
}

std::optional<DateCell> numericDateCell(std::string_view text, NumericOrder order, bool& numeric) {
    numeric = false;
    std::array<std::size_t, 3> lengths{};
    std::size_t part = 0;
    char mark = 0;
    for (const char c : text) {
        if (isDigit(c)) {
            ++lengths[part];
        } else if ((c == '-' || c == '/' || c == '.') && part < 2 && lengths[part] > 0 &&
                   (mark == 0 || c == mark)) {
            mark = c;
            ++part;
        } else {
            return std::nullopt;
        }
    }
    numeric = true;
    if (part == 1 && mark == '.' && lengths[0] >= kUnixDigits && lengths[1] <= kUnixDigits) {
        return unixDateWithFraction(text, lengths[0]);  // "1707264000.0"
    }
    if (part == 0) {
        if (lengths[0] == 8) {
            const auto date =
                checked(numberAt(text, 0, 4), numberAt(text, 4, 2), numberAt(text, 6, 2));
            return date ? std::optional(DateCell{*date, DateWriting::Compact}) : std::nullopt;
        }
        return unixDate(text);
    }
    if (part != 2 || lengths[2] == 0 || lengths[0] > 4 || lengths[1] > 2 || lengths[2] > 4) {
        return std::nullopt;
    }
    const int a = numberAt(text, 0, lengths[0]);
    const int b = numberAt(text, lengths[0] + 1, lengths[1]);
    const int c = numberAt(text, lengths[0] + lengths[1] + 2, lengths[2]);
    if (lengths[0] > 2) {
        const auto date = lengths[2] <= 2 ? checked(a, b, c) : std::nullopt;
        return date ? std::optional(DateCell{*date, DateWriting::YearFirst}) : std::nullopt;
    }
    if (lengths[2] != 2 && lengths[2] != 4) {
        return std::nullopt;
    }
    const int year = lengths[2] == 2 ? (c < 30 ? 2000 + c : 1900 + c) : c;
    const bool dayFirst =
        order == NumericOrder::DayFirst || (order == NumericOrder::Lenient && a > 12 && b <= 12);
    const auto date = dayFirst ? checked(year, b, a) : checked(year, a, b);
    return date ? std::optional(DateCell{*date, DateWriting::NumbersFirst, false, a, b})
                : std::nullopt;
}

// "07-Feb-2024", "7 Feb 24": the commonest date with a month name, read without the tokenizer.
std::optional<DateCell> shortNamedDateCell(std::string_view text) {
    const std::size_t dayDigits = text.size() > 1 && isDigit(text[1]) ? 2 : 1;
    const std::size_t yearDigits = text.size() - dayDigits - 5;
    if (text.size() < dayDigits + 7 || !isDigit(text[0]) || (yearDigits != 2 && yearDigits != 4)) {
        return std::nullopt;
    }
    const char mark = text[dayDigits];
    if ((mark != '-' && mark != ' ') || text[dayDigits + 4] != mark) {
        return std::nullopt;
    }
    int month = 0;
    for (std::size_t index = 0; index < kMonthNames.size() && month == 0; ++index) {
        bool same = true;
        for (std::size_t letter = 0; letter < 3; ++letter) {
            same = same &&
                   (text[dayDigits + 1 + letter] | 0x20) == (kMonthNames[index][letter] | 0x20);
        }
        month = same ? static_cast<int>(index) + 1 : 0;
    }
    const std::string_view year = text.substr(dayDigits + 5);
    if (month == 0 || !std::all_of(year.begin(), year.end(), isDigit)) {
        return std::nullopt;
    }
    const int yearValue = numberAt(year, 0, yearDigits);
    const auto date = checked(
        yearDigits == 2 ? (yearValue < 30 ? 2000 + yearValue : 1900 + yearValue) : yearValue, month,
        numberAt(text, 0, dayDigits));
    return date ? std::optional(DateCell{*date, DateWriting::MonthName}) : std::nullopt;
}

// The date part of a cell that may hold a time of day after it: "2024-01-02T09:30:00Z" ->
// "2024-01-02"; nothing for a time alone.
std::optional<std::string_view> withoutTime(std::string_view text, bool& timed) {
    // A plain look: dates are a few bytes long, too short for the library's search to pay.
    std::size_t colon = 0;
    while (colon < text.size() && text[colon] != ':') {
        ++colon;
    }
    timed = colon != text.size();
    if (!timed) {
        return text;
    }
    const std::size_t cut = text.find_last_of(" T", colon);
    if (cut == std::string_view::npos || cut == 0) {
        return std::nullopt;
    }
    return bareCell(text.substr(0, cut));
}

}  // namespace

std::optional<CalendarDate> parseDate(std::string_view text, NumericOrder order) {
    return dateOfTokens(tokenize(text), order);
}

std::optional<DateCell> readDateCell(std::string_view cell, NumericOrder order) {
    if (cell.size() > kLongestDateCell) {
        return std::nullopt;
    }
    // The commonest cells, plain dates without blanks, quotes or a time, read straight away.
    if (!cell.empty() && isDigit(cell.front()) && isDigit(cell.back())) {
        bool numeric = false;
        if (auto read = numericDateCell(cell, order, numeric); read || numeric) {
            return read;
        }
        if (auto read = shortNamedDateCell(cell)) {
            return read;
        }
    }
    bool timed = false;
    const std::optional<std::string_view> text = withoutTime(bareCell(cell), timed);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    bool numeric = false;
    std::optional<DateCell> read = numericDateCell(*text, order, numeric);
    if (!numeric) {
        read = shortNamedDateCell(*text);
    }
    if (!numeric && !read) {
        std::vector<Token> tokens = tokenize(*text);
        leaveOutTimeAndWeekday(tokens);  // so that "Mon 05.02.2024" shows its day order
        const bool named = std::any_of(tokens.begin(), tokens.end(),
                                       [](const Token& t) { return !t.numeric && t.value > 0; });
        if (const auto date = dateOfTokens(tokens, order)) {
            read = DateCell{*date, named ? DateWriting::MonthName : DateWriting::YearFirst};
            if (!named && !tokens.empty() && tokens[0].text.size() <= 2) {
                read->writing = DateWriting::NumbersFirst;
                read->first = tokens[0].value;
                read->second = tokens[1].value;
            }
        }
    }
    if (read) {
        read->timed = read->timed || timed;
    }
    return read;
}

int weekday(const CalendarDate& date) {
    // 1 January 1970 was a Thursday.
    const long days = daysFromCivil(date.year, date.month, date.day);
    return static_cast<int>(((days % 7) + 7 + 3) % 7);
}

bool isWeekend(const CalendarDate& date) {
    return weekday(date) >= 5;
}

std::optional<CalendarDate> validDate(int year, int month, int day) {
    return checked(year, month, day);
}

DatedForm readDateAndForm(std::string_view text) {
    using Order = DateForm::Order;
    DatedForm dated{{}, parseDate(rearrangeCompactDate(text))};
    if (isCompactDate(text)) {
        dated.form = {Order::YearMonthDay, '\0', true, true, 4};
        return dated;
    }
    const std::vector<Token> tokens = tokenize(text);
    const std::size_t separator = text.find_first_of("-/.");
    // One separator twice, and nothing else between the parts: no blank, comma or time.
    if (tokens.size() != 3 || separator == std::string_view::npos ||
        std::count(text.begin(), text.end(), text[separator]) != 2 ||
        text.find_first_of(" ,:\t") != std::string_view::npos) {
        return dated;
    }
    const Token& a = tokens[0];
    const Token& b = tokens[1];
    const Token& c = tokens[2];
    const bool yearLast = c.numeric && (c.text.size() == 2 || c.text.size() == 4);
    DateForm& form = dated.form;
    form.separator = text[separator];
    form.yearDigits = static_cast<int>(c.text.size());
    if (form.separator == '-' && a.numeric && !b.numeric && b.value > 0 && b.text.size() == 3 &&
        yearLast) {
        form.padDay = a.text.size() == 2;
    } else if (form.separator == '-' && a.numeric && a.text.size() == 4 && b.numeric && c.numeric) {
        form = {Order::YearMonthDay, '-', c.text.size() == 2, b.text.size() == 2, 4};
    } else if ((form.separator == '/' || form.separator == '.') && a.numeric && b.numeric &&
               a.text.size() <= 2 && b.text.size() <= 2 && yearLast) {
        // Dots put the day first; slashes the month, unless the first number is above 12.
        const bool dayFirst = form.separator == '.' || a.value > 12;
        form.order = dayFirst ? Order::DayMonthYear : Order::MonthDayYear;
        form.padDay = (dayFirst ? a : b).text.size() == 2;
        form.padMonth = (dayFirst ? b : a).text.size() == 2;
        dated.date = dayFirst ? checked(fullYear(c), b.value, a.value)
                              : checked(fullYear(c), a.value, b.value);
    } else {
        return {{}, dated.date};
    }
    return dated;
}

std::string formatDate(const CalendarDate& date, const DateForm& form) {
    using Order = DateForm::Order;
    auto number = [](int value, std::size_t width) {
        const std::string digits = std::to_string(value);
        return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
    };
    const std::string day = number(date.day, form.padDay ? 2 : 1);
    const std::string month = form.order == Order::DayMonthName
                                  ? kMonthNames[date.month - 1]
                                  : number(date.month, form.padMonth ? 2 : 1);
    const std::string year =
        form.yearDigits == 2 ? number(date.year % 100, 2) : number(date.year, 4);
    const std::string separator = form.separator == '\0' ? "" : std::string(1, form.separator);
    switch (form.order) {
        case Order::YearMonthDay:
            return year + separator + month + separator + day;
        case Order::MonthDayYear:
            return month + separator + day + separator + year;
        case Order::DayMonthName:
        case Order::DayMonthYear:
            break;
    }
    return day + separator + month + separator + year;
}

double dateNumber(const CalendarDate& date) {
    return static_cast<double>(daysFromCivil(date.year, date.month, date.day) - kDayZero);
}

CalendarDate dateFromNumber(double number) {
    return civilFromDays(static_cast<long>(std::floor(number)) + kDayZero);
}

int yearOfDate(std::string_view text) {
    const auto year = [](std::string_view digits) {
        int value = 0;
        for (const char digit : digits) {
            if (digit < '0' || digit > '9') {
                return 0;
            }
            value = value * 10 + (digit - '0');
        }
        return value;
    };
    const auto apart = [](char next) { return next < '0' || next > '9'; };
    constexpr std::size_t kDigits = 4;
    if (text.size() > kDigits) {
        if (const int last = year(text.substr(text.size() - kDigits));
            last > 0 && apart(text[text.size() - kDigits - 1])) {
            return last;
        }
        if (const int first = year(text.substr(0, kDigits)); first > 0 && apart(text[kDigits])) {
            return first;
        }
    }
    const std::optional<CalendarDate> date = parseDate(text);
    return date ? date->year : 0;
}

bool isCompactDate(std::string_view text) {
    return text.size() == 8 && text.find_first_of(" -/") == std::string_view::npos;
}

std::string rearrangeCompactDate(std::string_view text) {
    if (!isCompactDate(text)) {
        return std::string(text);
    }
    return std::string(text.substr(4, 2)) + "-" + std::string(text.substr(6, 2)) + "-" +
           std::string(text.substr(0, 4));
}

}  // namespace aurelant
