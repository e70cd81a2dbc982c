#include <gtest/gtest.h>

#include "common/dates.h"

namespace aurelant {
namespace {

TEST(ParseDate, AcceptsTheFormsOfHistoryFiles) {
    const CalendarDate jan5{2004, 1, 5};
    for (const char* text : {"05-Jan-2004", "5-Jan-04", "2004-01-05", "2004/01/05", "01/05/2004",
                             "1/5/04", "01-05-2004", "Jan 5, 2004", "5 Jan 2004", "January 5, 2004",
                             "05-JAN-2004", "2004-01-05 00:00:00"}) {
        EXPECT_EQ(parseDate(text), jan5) << text;
    }
}

// Two-digit years pivot at thirty; a first number above twelve is the day.
TEST(ParseDate, TwoDigitYearsAndDayFirst) {
    EXPECT_EQ(parseDate("1/5/29")->year, 2029);
    EXPECT_EQ(parseDate("1/5/30")->year, 1930);
    EXPECT_EQ(parseDate("1/5/99")->year, 1999);
    EXPECT_EQ(parseDate("1/5/00")->year, 2000);
    EXPECT_EQ(parseDate("13/01/2004"), (CalendarDate{2004, 1, 13}));
}

TEST(ParseDate, RefusesTextsThatAreNotDates) {
    for (const char* text : {"", "Date", "20040105", "2004-02-30", "2003-02-29", "13/13/2004",
                             "Foo 5, 2004", "5-Jan", "12.5"}) {
        EXPECT_FALSE(parseDate(text).has_value()) << text;
    }
    EXPECT_TRUE(parseDate("2004-02-29").has_value());
}

// The quick look at four digits at either end agrees with the full reading.
TEST(ParseDate, YearOfADateText) {
    const std::pair<const char*, int> years[] = {
        {"05-Jan-2004", 2004}, {"2004-01-05", 2004}, {"01/05/1999", 1999}, {"Jan 5, 2004", 2004},
        {"5-Jan-04", 2004},    {"1/5/30", 1930},     {"12005", 0},         {"Date", 0}};
    for (const auto& [text, year] : years) {
        EXPECT_EQ(yearOfDate(text), year) << text;
    }
}

// A day added to a file is written as the file's latest date is, and compared with it as read.
TEST(DateForm, ADateIsWrittenInTheFormOfAnother) {
    const CalendarDate feb14{2024, 2, 14};
    const std::pair<const char*, const char*> cases[] = {
        {"2024-02-13", "2024-02-14"},    {"20240213", "20240214"},
        {"2/13/2024", "2/14/2024"},      {"13/2/2024", "14/2/2024"},
        {"13.02.2024", "14.02.2024"},    {"05-Feb-24", "14-Feb-24"},
        {"5-Feb-2024", "14-Feb-2024"},   {"01/05/24", "02/14/24"},
        {"Feb 13, 2024", "14-Feb-2024"}, {"not a date", "14-Feb-2024"},
        {"2024/02/13", "14-Feb-2024"}};
    for (const auto& [latest, written] : cases) {
        EXPECT_EQ(formatDate(feb14, readDateAndForm(latest).form), written) << latest;
    }
    EXPECT_EQ(readDateAndForm("13.02.2024").date, (CalendarDate{2024, 2, 13}));
}

}  // namespace
}  // namespace aurelant
