#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the program writes and reads numbers. Every command that shows or reads a number uses
// these, so that the same value always gives the same text.
namespace aurelant {

// No traded item costs more or less; a price outside is a slip, and the prediction's arithmetic
// would overflow or lose it.
inline constexpr double kLowestPrice = 1e-12;
inline constexpr double kHighestPrice = 1e12;
inline bool isPossiblePrice(double value) {
    return value >= kLowestPrice && value <= kHighestPrice;
}

// Shortest general form with up to 15 significant digits, a leading blank unless negative and
// no zero before the point: 0.75 -> " .75", -2.5 -> "-2.5", 12 -> " 12".
std::string numberText(double value);

// The same for a single-precision value, with up to 7 significant digits.
std::string singleText(float value);

// The number text followed by one blank, as a number printed into a line: 53 -> " 53 ".
std::string printedNumber(float value);

// Prices, percentages and money are cut to two decimals; price levels to the decimals of the
// file's prices (priceDecimals), which are never fewer.
inline constexpr int kCutDecimals = 2;

// Keeps a number text up to `decimals` characters after its first period, never rounding:
// " 12.3456" -> " 12.34", " 12.3" and " 12" stay as they are. A text with an exponent keeps
// two decimals before it, whatever `decimals` says.
std::string cutText(std::string_view text, int decimals = kCutDecimals);

// The cut number text of a value: 12.3456 -> " 12.34".
std::string cutNumberText(double value, int decimals = kCutDecimals);

// The decimals to which the levels of prices such as `price` are cut: those of its shortest
// single-precision text, from 2 to 8. "1.10607" -> 5, "109.480003" -> 2, "100" -> 2; 2 for a
// text that is not a number.
int priceDecimals(std::string_view price);

// The number text and the cut number text without their leading blank: 0.75 -> ".75".
std::string trimmedNumberText(double value);
std::string trimmedCutText(double value, int decimals = kCutDecimals);

// The trimmed cut number text of a value and the value that this text reads back as, for
// judging a price by what is shown of it: 100.87984 -> {"100.87", 100.87}.
struct CutNumber {
    std::string text;
    double value = 0;
};
CutNumber trimmedCutNumber(double value, int decimals = kCutDecimals);
// Its value alone, where nothing shows the text.
double trimmedCutValue(double value, int decimals = kCutDecimals);

// Plain decimal text without blanks, with a zero before the point: 0.5 -> "0.5"; and the same
// cut to two decimals: 57.0894 -> "57.08".
std::string plainText(double value);
std::string plainCutText(double value);

// The ten decimal digits, as isdigit has them in every locale, without a call a character.
inline bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// A byte of a word's letter: ASCII, or of a letter of another script in UTF-8.
inline bool isLetter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return static_cast<unsigned char>((byte | 0x20) - 'a') < 26 || byte >= 0x80;
}

// Removes blanks and TABs at both ends.
std::string trimmed(std::string_view text);
std::string_view trimmedView(std::string_view text);

// The number that a text begins with, after leading blanks; 0 when it begins with no number.
// "12.5x" -> 12.5, "1,000" -> 1, "abc" -> 0. Throws AppError when the number is out of range.
double leadingNumber(std::string_view text);

inline constexpr std::size_t kPlainDecimalDigits = 15;  // as many as a double holds exactly
struct PlainDecimal {
    double value = 0;
    std::size_t length = 0;
};

// The value of a plain decimal of at most kPlainDecimalDigits digits, from its digits read as a
// whole number and the count of them after its point: (5050, 2) -> 50.5. Both are exact doubles,
// so one division gives the correctly rounded value, the one that strtod gives too.
inline double plainDecimalValue(std::uint64_t digits, std::size_t decimals) {
    static constexpr std::array<double, kPlainDecimalDigits + 1> kPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    return static_cast<double>(digits) / kPowersOfTen[decimals];
}

// A plain decimal at the start of a text, running to its end or to the first `stop`: a minus
// sign if negative and 1 to 15 digits with at most one point, as prices are written ("50.8",
// "-.5", "12."). Its value, which is exactly the one strictNumber reads, and its length; nothing
// for a text that holds anything else before the end or `stop`. Defined here, so that the readers
// that take every price of a file through it can inline it.
inline std::optional<PlainDecimal> plainDecimal(std::string_view text, char stop) {
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = at != end && *at == '-';
    const char* const start = negative ? at + 1 : at;
    std::uint64_t digits = 0;  // wraps harmlessly past 19 digits: such texts are refused below
    auto readDigits = [&digits, &at, end] {
        for (; at != end; ++at) {
            const auto digit = static_cast<unsigned char>(*at - '0');
            if (digit >= 10) {
                break;
            }
            digits = digits * 10 + digit;
        }
    };
    at = start;
    readDigits();
    const char* const point = at != end && *at == '.' ? at++ : nullptr;
    if (point != nullptr) {
        readDigits();
    }
    if (at != end && *at != stop) {
        return std::nullopt;
    }
    const auto digitCount = static_cast<std::size_t>(at - start) - (point != nullptr ? 1 : 0);
    if (digitCount == 0 || digitCount > kPlainDecimalDigits) {
        return std::nullopt;
    }
    const auto decimals = point != nullptr ? static_cast<std::size_t>(at - point - 1) : 0;
    const double value = plainDecimalValue(digits, decimals);
    return PlainDecimal{negative ? -value : value, static_cast<std::size_t>(at - text.data())};
}

// The whole text as a number, blanks around it allowed and commas accepted as digit grouping
// ("1,000.5"). Throws AppError for anything else, an empty text included.
double strictNumber(std::string_view text);

// A number typed by the user (a price box, a table cell, a command-line option) is read as
// strictNumber reads it, except for its commas. A comma followed by exactly three digits groups
// them ("1,000", "1,000.50"); any other comma cannot, so it is a decimal comma: "77,45" is 77.45
// and "58,5" is 58.5.
// The text with its decimal comma written as a point ("77,45" -> "77.45"), grouping kept.
std::string withDecimalPoint(std::string_view text);
// The typed number's value; throws AppError for a text that is not a number.
double typedNumber(std::string_view text);
// A typed possible price; nothing for any other text.
std::optional<double> typedPrice(std::string_view text);

}  // namespace aurelant
