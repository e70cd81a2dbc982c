#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/errors.h"
#include "common/numtext.h"

namespace aurelant {
namespace {

// A leading blank, no zero before the point, 15 digits for doubles and 7 for singles, the
// exponent form only for very large or small values.
TEST(NumberText, AsTheProgramPrintsNumbers) {
    const std::pair<double, const char*> cases[] = {
        {0.75, " .75"},   {-0.75, "-.75"},    {-2.5, "-2.5"},      {0, " 0"},         {-0.0, " 0"},
        {1e15, " 1E+15"}, {0.0001, " .0001"}, {0.00001, " 1E-05"}, {0.1 + 0.2, " .3"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(numberText(value), text);
    }
    EXPECT_EQ(singleText(static_cast<float>(std::log(1.1))), " .09531018");
    EXPECT_EQ(printedNumber(53.0f), " 53 ");
}

// printf's %G digits, without the zero before the point.
std::string printfDigits(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string text = buffer;
    if (text.find("0.") == (text[0] == '-' ? 1u : 0u)) {
        text.erase(text[0] == '-' ? 1 : 0, 1);
    }
    return text;
}

TEST(NumberText, DigitsAsPrintfGivesThemAtFifteenAndSevenPlaces) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-8, 18);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const float single = static_cast<float>(value);
        ASSERT_EQ(trimmed(numberText(value)), printfDigits("%.15G", value));
        ASSERT_EQ(trimmed(singleText(single)), printfDigits("%.7G", single));
    }
}

TEST(CutText, TruncatesTwoPlacesAfterThePointWithoutRounding) {
    const std::pair<double, const char*> cases[] = {{12.3456, " 12.34"}, {12.3, " 12.3"},
                                                    {12, " 12"},         {99.999, " 99.99"},
                                                    {0.8765, " .87"},    {5.1234e-05, " 5.12E-05"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(cutText(numberText(value)), text);
    }
    EXPECT_EQ(cutText(" 1.106071234", 5), " 1.10607");
    EXPECT_EQ(cutText(" .0523456789", 8), " .05234567");
    EXPECT_EQ(cutText(" 5.1234E-05", 8), " 5.12E-05");  // an exponent keeps its form
    EXPECT_EQ(plainCutText(57.0894), "57.08");
    EXPECT_EQ(plainText(0.5), "0.5");
    // Tiny prices keep their exponent, so the cut value stays tiny.
    EXPECT_EQ(cutText(" 5.1E-05"), " 5.1E-05");
    EXPECT_DOUBLE_EQ(strictNumber(cutText(numberText(5.1234e-05))), 5.12e-05);
}

TEST(PriceDecimals, AreThoseOfTheShortestSingleTextFromTwoToEight) {
    const std::pair<const char*, int> cases[] = {
        {"1.10607", 5},       {"0.05234567", 8}, {"109.480003", 2}, {"50.25", 2}, {"100", 2},
        {".000012345678", 8}, {" 0.0566 ", 4},   {"abc", 2},        {"", 2}};
    for (const auto& [price, decimals] : cases) {
        EXPECT_EQ(priceDecimals(price), decimals) << price;
    }
}

// Values that lie clearly between two hundredths are cut without writing their number text;
// every value gets the text that the cut number text gives and the value it reads back as.
TEST(CutText, CutNumberIsTheCutTextAndItsValue) {
    std::vector<double> values = {
        100.87984, 99.999, 0.8765,        -0.8765,   -0.005, 0.00123, 1e-3,   1.005e-3,
        12.345,    1e9,    999999999.994, 5.1234e-5, 0,      1e15,    -1e300, 12.349999999999999};
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-6, 11);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        // next to a hundredth, where the digits after the second decimal decide the cut
        const double hundredth = std::round(values.back() * 100) / 100;
        values.push_back(hundredth + mantissa(random) * std::pow(10.0, -exponent(random) - 4));
    }
    for (const double value : values) {
        const std::string text = trimmedCutText(value);
        const CutNumber cut = trimmedCutNumber(value);
        ASSERT_EQ(cut.text, text) << value;
        ASSERT_EQ(cut.value, strictNumber(text)) << value;
        ASSERT_EQ(std::signbit(cut.value), std::signbit(strictNumber(text))) << value;
    }
}

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    const std::pair<const char*, double> cases[] = {
        {"12.5x", 12.5}, {"  42", 42}, {"1,000", 1}, {".5", 0.5}, {"-3.25 and more", -3.25},
        {"1e3", 1000},   {"abc", 0},   {"", 0},      {"-", 0}};
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
    }
    EXPECT_THROW(leadingNumber("1e999"), AppError);
}

TEST(StrictNumber, AcceptsWholeNumbersWithBlanksAndGrouping) {
    const std::pair<const char*, double> cases[] = {
        {" 10.50 ", 10.5}, {"1,000.25", 1000.25}, {"-7", -7}, {"+.5", 0.5}, {"2.5E2", 250},
        {"5.", 5},         {"-.5", -0.5}};
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(strictNumber(text), value) << text;
    }
    EXPECT_EQ(strictNumber("0." + std::string(400, '0') + "1"), 0);
    EXPECT_THROW(strictNumber("1" + std::string(400, '0')), AppError);
}

// Short decimals such as prices are read by a path of their own; they read as strtod reads them.
TEST(StrictNumber, ShortDecimalsReadAsTheLibraryReadsThem) {
    std::mt19937_64 random(3);
    auto digits = [&random](std::size_t most) {
        std::string text(random() % (most + 1), '0');
        for (char& digit : text) {
            digit = static_cast<char>('0' + random() % 10);
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string text =
            (random() % 4 == 0 ? "-" : "") + digits(9) + (random() % 4 == 0 ? "" : ".") + digits(9);
        if (text.find_first_of("0123456789") != std::string::npos) {
            ASSERT_EQ(strictNumber(text), std::strtod(text.c_str(), nullptr)) << text;
        }
    }
}

TEST(StrictNumber, RefusesEverythingElse) {
    for (const char* text :
         {"", "   ", "12.5x", "Open", "1,", ",5", "1.2.3", "1e", "--1", "1 2", "-", "1-2", "."}) {
        try {
            strictNumber(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), 13) << text;
        }
    }
}

// A comma that cannot group three digits is a decimal comma; everything else reads as
// strictNumber reads it. Add Latest writes the text with its point.
TEST(TypedNumber, ACommaBeforeOtherThanThreeDigitsIsADecimalComma) {
    const std::tuple<const char*, const char*, double> cases[] = {
        {"77,45", "77.45", 77.45}, {"58,5", "58.5", 58.5},           {" 77,00 ", " 77.00 ", 77},
        {"1,000", "1,000", 1000},  {"1,000.50", "1,000.50", 1000.5}, {"1,0000", "1.0000", 1},
        {"-0,5", "-0.5", -0.5},    {"12,345,6", "12,345.6", 12345.6}};
    for (const auto& [text, written, value] : cases) {
        EXPECT_EQ(withDecimalPoint(text), written);
        EXPECT_DOUBLE_EQ(typedNumber(text), value) << text;
    }
    for (const char* text : {"1,5,000", "1.000,50", "1,2,3", "7,5x", ","}) {
        EXPECT_THROW(typedNumber(text), AppError) << text;
    }
    EXPECT_EQ(typedPrice("0,5"), 0.5);
    EXPECT_EQ(typedPrice("0,0"), std::nullopt);
    EXPECT_EQ(typedPrice("1e13"), std::nullopt);
}

}  // namespace
}  // namespace aurelant
