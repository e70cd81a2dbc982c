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

// Every date encoding of price tables, each with how it is written; a timestamp's day is the one
// its text gives, and the day in UTC for unix time.
TEST(ReadDateCell, EveryCommonEncoding) {
    using W = DateWriting;
    const CalendarDate feb7{2024, 2, 7};
    const std::pair<const char*, DateWriting> cases[] = {
        {"2024-02-07", W::YearFirst},
        {"2024/2/7", W::YearFirst},
        {"\"2024.02.07\"", W::YearFirst},
        {"2024-02-07T23:30:00.123-05:00", W::YearFirst},
        {"2024-02-07T00:00:00Z", W::YearFirst},
        {"2024-02-07 09:30", W::YearFirst},
        {"2024\xE5\xB9\xB4"
         "2\xE6\x9C\x88"
         "7\xE6\x97\xA5",
         W::YearFirst},
        {"20240207", W::Compact},
        {"02/07/2024", W::NumbersFirst},
        {"07-Feb-2024", W::MonthName},
        {"Feb 7, 2024", W::MonthName},
        {"Wed, 7 Feb 2024", W::MonthName},
        {"07FEB2024", W::MonthName},
        {"February 7th, 2024", W::MonthName},
        {"7. Februar 2024", W::MonthName},
        {"7 f\xC3\xA9vr. 2024", W::MonthName},
        {"7 de febrero de 2024", W::MonthName},
        {"7 lut 2024", W::MonthName},
        {"7 \xC5\x9E"
         "ubat 2024",
         W::MonthName},
        {"7 \xD1\x84\xD0\xB5\xD0\xB2\xD1\x80\xD0\xB0\xD0\xBB\xD1\x8F 2024", W::MonthName},
        {"7 \xCE\xA6\xCE\x95\xCE\x92 2024", W::MonthName},  // Greek capitals
        {"1707264000", W::UnixSeconds},
        {"1707350399", W::UnixSeconds},
        {"1707264000.0", W::UnixSeconds},
        {"1707264000000", W::UnixMillis},
        {"1707264000000000", W::UnixMicros},
        {"1707264000000000000", W::UnixNanos},
    };
    for (const auto& [text, writing] : cases) {
        const auto cell = readDateCell(text, NumericOrder::Lenient);
        ASSERT_TRUE(cell) << text;
        EXPECT_EQ(cell->date, feb7) << text;
        EXPECT_EQ(cell->writing, writing) << text;
    }
    EXPECT_EQ(readDateCell("07/02/2024", NumericOrder::DayFirst)->date, feb7);
    EXPECT_EQ(readDateCell("13/02/2024", NumericOrder::Lenient)->first, 13);
    EXPECT_EQ(readDateCell("Tue 13.02.2024", NumericOrder::Lenient)->first, 13);  // the day order
    EXPECT_TRUE(readDateCell("1707264000.25", NumericOrder::Lenient)->timed);
    const std::pair<const char*, int> months[] = {
        {"7 juil. 2024", 7},
        {"7 juin 2024", 6},
        {"7 des. 2024", 12},
        {"7 Agu 2024", 8},
        {"2024. m\xC3\xA1rc. 7.", 3},
        {"7 \xCE\x9C\xCE\x91\xCE\xAA 2024", 5},
        {"7 \xD1\x81\xD0\xB5\xD1\x80\xD0\xBF\xD0\xBD\xD1\x8F 2024", 8},
        {"7 Ogos 2024", 8},
        {"7 \xE0\xA4\x85\xE0\xA4\x97\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4 2024", 8}};
    for (const auto& [text, month] : months) {
        EXPECT_EQ(readDateCell(text, NumericOrder::Lenient)->date.month, month) << text;
    }
    const std::string blankRun = "2024-" + std::string(kLongestDateCell, '\t') + "02-07";
    for (const std::string text :
         {"10.5", "1200", "09:30", "12345678901", "9999999999999", "Date", "", "2024-13-01",
          "4133980800", "xyz07-Feb-2024", blankRun.c_str()}) {
        EXPECT_FALSE(readDateCell(text, NumericOrder::Lenient)) << text;
    }
    EXPECT_TRUE(isWeekend({2024, 2, 10}));
    EXPECT_FALSE(isWeekend({2024, 2, 9}));
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
