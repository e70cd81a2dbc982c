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
// characters or fewer).
TEST(HistoryFormat, RecordLinesAreNeitherHeadersNorShort) {
    EXPECT_TRUE(isHeaderLine("Date,Open,High,Low,Close"));
    EXPECT_TRUE(isHeaderLine("date\topen\thigh\tlow\tclose\tvolume"));
    EXPECT_TRUE(isHeaderLine("OHLC"));
    EXPECT_FALSE(isHeaderLine("Date,Open,High,Last"));  // no C
    EXPECT_FALSE(isHeaderLine("05-Oct-2026,10.5,11,10.25,10.75"));
    EXPECT_FALSE(isHeaderLine(""));
    EXPECT_TRUE(isShortLine(""));
    EXPECT_TRUE(isShortLine("1/2/03,1,2,1,2"));
    EXPECT_FALSE(isShortLine("1/2/03,1,2,1,22"));
    EXPECT_TRUE(isRecordLine("05-Jan-2026,10.5,11,10.25,10.75"));
    EXPECT_TRUE(isRecordLine("1/2/03,1,2,1,22"));
    EXPECT_FALSE(isRecordLine("1/2/03,1,2,1,2"));
    EXPECT_FALSE(isRecordLine("Date,Open,High,Low,Close"));
    EXPECT_FALSE(isRecordLine("   "));
}

// ASCII lines are tested for the four letters in one pass; they agree with the rule as the C
// library's case conversion has it, which decides lines with other bytes.
TEST(HistoryFormat, TheHeaderLettersAsTheCaseConversionFindsThem) {
    const std::string pieces[] = {"o",    "O",        "h",    "H", "l", "L",  "c", "C", "x",
                                  "\x8f", "\xc3\xb6", "\x7f", "0", ".", "\t", "N", "b"};
    std::mt19937 random(17);
    for (int i = 0; i < 5000; ++i) {
        std::string line = "a,b,";  // a second field that is no number: the letters decide
        for (auto n = random() % 12; n > 0; --n) {
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

TEST(HistoryFormat, TheFormatCheckCountsTabsAndCommasTogether) {
    EXPECT_TRUE(looksLikePriceData("05-Jan-2026,10.5,11,10.25,10.75"));
    EXPECT_TRUE(looksLikePriceData("07-Jan-2026\t10.5\t11,10.25,10.75"));
    EXPECT_TRUE(looksLikePriceData("07-Jan-2026\t10.5\t11\t10.25\t10.75"));
    EXPECT_FALSE(looksLikePriceData("05-Jan-2026,10.5,11,10.25 10.75"));  // three separators
    EXPECT_FALSE(looksLikePriceData("05-Jan-2026 10.5 11 10.25 10.75"));
    EXPECT_FALSE(looksLikePriceData(""));
    // Longer than 15 characters, not 15 itself.
    EXPECT_TRUE(looksLikePriceData("1/2/03,1,2,1,223"));
    EXPECT_FALSE(looksLikePriceData("1/2/03,1,2,1,22"));
}

TEST(HistoryFormat, TheFirstLineDecidesTheSeparatorCommasFirst) {
    EXPECT_EQ(detectSeparator("05-Jan-2026,10.5,11,10.25,10.75"), ',');
    EXPECT_EQ(detectSeparator("05-Jan-2026\t10.5\t11\t10.25\t10.75"), '\t');
    EXPECT_EQ(detectSeparator("a,b,c,d,e\tf\tg\th\ti"), ',');
    EXPECT_EQ(detectSeparator("a\tb\tc\td\te,f,g"), '\t');
    EXPECT_FALSE(detectSeparator("a,b,c,d\te\tf\tg").has_value());
    EXPECT_FALSE(detectSeparator("").has_value());
}

// A record needs four separators; its five fields are given untrimmed.
TEST(HistoryFormat, SplittingGivesTheFiveFieldsUntrimmed) {
    EXPECT_TRUE(hasFourSeparators("a,b,c,d,e", ','));
    EXPECT_TRUE(hasFourSeparators(",,,,", ','));
    EXPECT_FALSE(hasFourSeparators("a,b,c,d", ','));
    EXPECT_FALSE(hasFourSeparators("a,b,c,d,e", '\t'));
    EXPECT_FALSE(splitRecord("05-Jan-2026,10.5,11,10.25", ',').has_value());
    const auto record = splitRecord("05-Jan-2026, 10.5,11,10.25,10.75 ", ',');
    ASSERT_TRUE(record);
    EXPECT_EQ(record->date, "05-Jan-2026");
    EXPECT_EQ(record->open, " 10.5");
    EXPECT_EQ(record->high, "11");
    EXPECT_EQ(record->low, "10.25");
    EXPECT_EQ(record->close, "10.75 ");
    EXPECT_EQ(splitRecord("05-Jan-2026\t1\t2\t3\t4", '\t')->close, "4");
}

TEST(HistoryFormat, AFifthSeparatorEndsCloseOnlyBeyondTheNinthCharacter) {
    // Further fields such as the volume are cut off.
    EXPECT_EQ(splitRecord("05-Jan-2026,10.5,11,10.25,10.75,123456", ',')->close, "10.75");
    // Fifth separator at the tenth character: it ends Close.
    EXPECT_EQ(splitRecord("1,2,3,4,5,6", ',')->close, "5");
    // Fifth separator at the ninth character: Close runs to the end of the line.
    EXPECT_EQ(splitRecord("1,2,3,4,,6", ',')->close, ",6");
    EXPECT_EQ(splitRecord("1,2,3,4,5", ',')->close, "5");
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

TEST(HistoryFormat, CompactDatesAreRearrangedToMonthDayYear) {
    EXPECT_EQ(splitRecord("20260105,10.5,11,10.25,10.75", ',')->date, "01-05-2026");
    EXPECT_EQ(splitRecord("2026-01-05,10.5,11,10.25,10.75", ',')->date, "2026-01-05");
    EXPECT_EQ(splitRecord("2026 105,10.5,11,10.25,10.75", ',')->date, "2026 105");
    EXPECT_EQ(splitRecord("26/01/05,10.5,11,10.25,10.75", ',')->date, "26/01/05");
}

}  // namespace
}  // namespace aurelant
