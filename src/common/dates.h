#pragma once

#include <compare>
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
