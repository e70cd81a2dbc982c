#include "common/dates.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

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

int monthFromName(const std::string& word) {
    if (word.size() < 3) {
        return 0;
    }
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        const std::string name = kMonthNames[i];
        bool same = true;
        for (std::size_t k = 0; k < 3; ++k) {
            same = same && std::tolower(static_cast<unsigned char>(word[k])) ==
                               std::tolower(static_cast<unsigned char>(name[k]));
        }
        if (same) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
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
        if (digits) {
            token.numeric = true;
            std::from_chars(current.data(), current.data() + current.size(), token.value);
        } else {
            token.value = monthFromName(current);
        }
        tokens.push_back(token);
        current.clear();
    };
    for (char c : text) {
        if (c == '-' || c == '/' || c == ' ' || c == ',' || c == '.' || c == '\t') {
            flush();
        } else {
            current += c;
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

}  // namespace

std::optional<CalendarDate> parseDate(std::string_view text, NumericOrder order) {
    std::vector<Token> tokens = tokenize(text);
    if (tokens.size() == 4 && tokens[3].text.find(':') != std::string::npos) {
        tokens.pop_back();  // a time of day after the date
    }
    if (tokens.size() != 3) {
        return std::nullopt;
    }
    const Token& a = tokens[0];
    const Token& b = tokens[1];
    const Token& c = tokens[2];
    if (!a.numeric && a.value > 0 && b.numeric && c.numeric) {  // Jan 5, 2004
        return checked(fullYear(c), a.value, b.value);
    }
    if (a.numeric && !b.numeric && b.value > 0 && c.numeric) {  // 05-Jan-2004, 5 Jan 04
        return checked(fullYear(c), b.value, a.value);
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
