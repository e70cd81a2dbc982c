#include <gtest/gtest.h>

#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

// Open keeps the lines that are neither headers (O, H, L and C in any case) nor short (fourteen
// characters or fewer); the format check wants four separators, TABs and commas together, in a
// line longer than fifteen characters.
TEST(HistoryFormat, HeadersShortLinesRecordsAndTheFormatCheck) {
    const struct {
        const char* line;
        bool header, isShort, record, priceData;
    } cases[] = {
        {"Date,Open,High,Low,Close", true, false, false, true},
        {"date\topen\thigh\tlow\tclose\tvolume", true, false, false, true},
        {"OHLC", true, true, false, false},
        {"Date,Open,High,Last", false, false, true, false},  // no C, three separators
        {"05-Jan-2026,10.5,11,10.25,10.75", false, false, true, true},
        {"07-Jan-2026\t10.5\t11,10.25,10.75", false, false, true, true},
        {"05-Jan-2026 10.5 11 10.25 10.75", false, false, true, false},
        {"", false, true, false, false},
        {"   ", false, true, false, false},
        {"1/2/03,1,2,1,2", false, true, false, false},
        {"1/2/03,1,2,1,22", false, false, true, false},
        {"1/2/03,1,2,1,223", false, false, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isHeaderLine(c.line), c.header) << c.line;
        EXPECT_EQ(isShortLine(c.line), c.isShort) << c.line;
        EXPECT_EQ(isRecordLine(c.line), c.record) << c.line;
        EXPECT_EQ(looksLikePriceData(c.line), c.priceData) << c.line;
    }
}

TEST(HistoryFormat, TheFirstLineDecidesTheSeparatorCommasFirst) {
    EXPECT_EQ(detectSeparator("05-Jan-2026,10.5,11,10.25,10.75"), ',');
    EXPECT_EQ(detectSeparator("05-Jan-2026\t10.5\t11\t10.25\t10.75"), '\t');
    EXPECT_EQ(detectSeparator("a,b,c,d,e\tf\tg\th\ti"), ',');
    EXPECT_EQ(detectSeparator("a\tb\tc\td\te,f,g"), '\t');
    EXPECT_FALSE(detectSeparator("a,b,c,d\te\tf\tg").has_value());
    EXPECT_FALSE(detectSeparator("").has_value());
}

// A record needs four separators; its five fields are given untrimmed. A fifth separator ends
// Close (cutting off the volume) only beyond the ninth character; eight-digit dates are rearranged
// to month-day-year.
TEST(HistoryFormat, SplittingGivesTheFiveFieldsUntrimmed) {
    EXPECT_TRUE(hasFourSeparators(",,,,", ','));
    EXPECT_FALSE(hasFourSeparators("a,b,c,d,e", '\t'));
    EXPECT_FALSE(splitRecord("05-Jan-2026,10.5,11,10.25", ',').has_value());
    const auto record = splitRecord("05-Jan-2026, 10.5,11,10.25,10.75 ", ',');
    ASSERT_TRUE(record);
    EXPECT_EQ(record->date, "05-Jan-2026");
    EXPECT_EQ(record->open, " 10.5");
    EXPECT_EQ(record->high, "11");
    EXPECT_EQ(record->low, "10.25");
    EXPECT_EQ(record->close, "10.75 ");
    const std::pair<const char*, const char*> closes[] = {
        {"05-Jan-2026\t1\t2\t3\t4", "4"},
        {"05-Jan-2026,10.5,11,10.25,10.75,123456", "10.75"},
        {"1,2,3,4,5,6", "5"},
        {"1,2,3,4,,6", ",6"}};
    for (const auto& [line, close] : closes) {
        EXPECT_EQ(splitRecord(line, *detectSeparator(line))->close, close);
    }
    const std::pair<const char*, const char*> dates[] = {{"20260105", "01-05-2026"},
                                                         {"2026-01-05", "2026-01-05"},
                                                         {"2026 105", "2026 105"},
                                                         {"2026010", "2026010"},
                                                         {"202601051", "202601051"}};
    for (const auto& [date, rearranged] : dates) {
        EXPECT_EQ(splitRecord(std::string(date) + ",10.5,11,10.25,10.75", ',')->date, rearranged);
    }
}

}  // namespace
}  // namespace aurelant
