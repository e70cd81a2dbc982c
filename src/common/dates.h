#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace aurelant {

struct CalendarDate {
    int year = 1899;
    int month = 12;
    int day = 30;

    auto operator<=>(const CalendarDate&) const = default;
};

// A day as the number yyyymmdd, which orders as the days do, in half the room of a date; and back.
inline std::uint32_t dayNumber(const CalendarDate& date) {
    return static_cast<std::uint32_t>((date.year * 100 + date.month) * 100 + date.day);
}
inline CalendarDate dateOfDayNumber(std::uint32_t day) {
    return {static_cast<int>(day / 10000), static_cast<int>(day / 100 % 100),
            static_cast<int>(day % 100)};
}

// How the two numbers before the year of an all-number date such as 07/02/2024 are read:
// month first, or day first, or month first unless the first number can only be a day.
enum class NumericOrder { Lenient, MonthFirst, DayFirst };

// Reads the date texts found in history files: dd-mmm-yyyy, d-mmm-yy, yyyy-mm-dd, yyyy/mm/dd,
// mm/dd/yyyy, m/d/yy, mm-dd-yyyy, "mmm d, yyyy", "d mmm yyyy" and the like. Two-digit years
// 00-29 are 20xx, 30-99 are 19xx; longer ones run from 1 to 9999. Returns nothing for a text that
// is not a valid date.
std::optional<CalendarDate> parseDate(std::string_view text,
                                      NumericOrder order = NumericOrder::Lenient);

// The year of a date text: at once where the text starts or ends with four digits set apart from
// the rest (2004-01-05, 05-Jan-2004), else as parseDate reads it; 0 when it reads none.
int yearOfDate(std::string_view text);

// How a date cell writes its date. The cells of one column of dates share it.
enum class DateWriting {
    YearFirst,     // 2024-02-07, 2024/2/7, 2024.02.07, 2024年2月7日
    Compact,       // 20240207
    NumbersFirst,  // 07/02/2024, 7.2.24: day and month in an order the file must show
    MonthName,     // 07-Feb-2024, Feb 7, 2024, 7. Februar 2024, 7 févr. 2024
    UnixSeconds,
    UnixMillis,
    UnixMicros,
    UnixNanos,
};

// A date cell read: its calendar day, how it is written, whether a time of day follows, and for a
// NumbersFirst date its two leading numbers, which show the day order where one is above 12.
struct DateCell {
    CalendarDate date;
    DateWriting writing = DateWriting::YearFirst;
    bool timed = false;
    int first = 0;
    int second = 0;
};

// The one reader of date cells in every layout a price table has: the forms of parseDate, ISO 8601
// with a time, fractions, Z or an offset (the calendar day the text gives), unix time in seconds,
// milliseconds, microseconds or nanoseconds between 1970 and 2100 (the day in UTC), compact
// yyyymmdd, and month names in the languages of European and Asian traders. Blanks and double
// quotes around the cell are ignored; a weekday before the date too. A cell longer than
// kLongestDateCell is no date, however its blanks would read.
constexpr std::size_t kLongestDateCell = 48;  // a date with a time, its fraction and an offset
std::optional<DateCell> readDateCell(std::string_view cell, NumericOrder order);

// 0 Monday to 6 Sunday.
int weekday(const CalendarDate& date);
bool isWeekend(const CalendarDate& date);

// The date of a year, month and day, or nothing when there is no such day.
std::optional<CalendarDate> validDate(int year, int month, int day);

// How a file writes its dates, so that a date added to it is written alike.
struct DateForm {
    enum class Order { DayMonthName, YearMonthDay, MonthDayYear, DayMonthYear };
    Order order = Order::DayMonthName;
    char separator = '-';  // '\0' for 8 digits, year first
    bool padDay = true;
    bool padMonth = true;
    int yearDigits = 4;
};

// A date text, its form and the date it stands for. The forms written back are dd-Mmm-yyyy,
// yyyy-mm-dd, yyyymmdd, m/d/yyyy, d/m/yyyy (when the day comes first, as a first number above 12
// shows) and dd.mm.yyyy, each with two or four year digits and its own zero padding; any other
// text gets the form dd-Mmm-yyyy and the date parseDate reads.
struct DatedForm {
    DateForm form;
    std::optional<CalendarDate> date;
};
DatedForm readDateAndForm(std::string_view text);

// "05-Jan-2026", or the date in `form`.
std::string formatDate(const CalendarDate& date, const DateForm& form = {});

// Days counted from 30 December 1899 (day 0), as the five-day grid keeps dates.
double dateNumber(const CalendarDate& date);
CalendarDate dateFromNumber(double number);

// An 8-digit text without blank, "-" or "/" is year, month, day: "20040105" -> "01-05-2004".
// Any other text is returned unchanged.
std::string rearrangeCompactDate(std::string_view text);
// Whether the text is such a compact date, which rearrangeCompactDate changes.
bool isCompactDate(std::string_view text);

}  // namespace aurelant
