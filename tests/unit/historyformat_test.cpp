#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <random>
#include <string>

#include "common/dates.h"
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

// ASCII lines are tested for the four letters in one pass, many bytes at a time; they agree with
// the rule as the C library's case conversion has it, which decides lines with other bytes.
TEST(HistoryFormat, TheHeaderLettersAsTheCaseConversionFindsThem) {
    const std::string pieces[] = {"o",    "O",        "h",    "H", "l", "L",  "c", "C", "x",
                                  "\x8f", "\xc3\xb6", "\x7f", "0", ".", "\t", "N", "b"};
    std::mt19937 random(17);
    for (int i = 0; i < 5000; ++i) {
        std::string line = "a,b,x,x,";  // a second field that is no number: the letters decide
        for (auto n = random() % 40; n > 0; --n) {  // lines shorter and longer than 16 bytes
            line += pieces[random() % std::size(pieces)];
        }
        auto holds = [&line](char upper) {
            return std::any_of(line.begin(), line.end(), [upper](char c) {
                return std::toupper(static_cast<unsigned char>(c)) == upper;
            });
        };
        ASSERT_EQ(isHeaderLine(line), holds('O') && holds('H') && holds('L') && holds('C')) << line;
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

// A line whose prices are plain decimals above zero is read in one pass; it gives the fields and
// prices that splitting and reading each field give. Other lines are left to those.
TEST(HistoryFormat, OnePassGivesWhatSplittingAndReadingGive) {
    const std::string pieces[] = {"1", "25", "3", "07", "9", "4", ".", "-", "0", ",", " ", "x"};
    std::mt19937 random(23);
    auto field = [&](std::size_t most) {
        std::string text;
        for (auto n = 1 + random() % most; n > 0; --n) {
            text += pieces[random() % std::size(pieces)];
        }
        return text;
    };
    int readInOnePass = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line = random() % 2 == 0 ? "20260105" : field(3);
        for (int price = 0; price < 4; ++price) {
            line += "," + field(3);
        }
        line += field(2);
        const auto plain = plainRecord(line, ',');
        if (!plain) {
            continue;
        }
        ++readInOnePass;
        const auto record = splitRecord(line, ',');
        ASSERT_TRUE(record) << line;
        ASSERT_EQ(rearrangeCompactDate(plain->date), record->date) << line;
        ASSERT_EQ(plain->prices, recordPrices(*record, 1)) << line;
    }
    EXPECT_GT(readInOnePass, 100);
    EXPECT_FALSE(plainRecord("1,2,3,4,,6", ','));  // Close runs on to the end: not a number
    EXPECT_FALSE(plainRecord("05-Jan-2026,10.5,0,10.25,10.75", ','));
}

}  // namespace
}  // namespace aurelant
