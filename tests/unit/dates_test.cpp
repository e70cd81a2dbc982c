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

}  // namespace
}  // namespace aurelant
