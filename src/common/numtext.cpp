#include "common/numtext.h"

#include <locale.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "common/errors.h"

namespace aurelant {
namespace {

// Every whole number of up to this many digits, and ten to the power of that many, is exact
// in a double. Decimals of up to this many significant digits lie so much further apart than
// doubles that at most one of them reads back as a given double.
constexpr int kExactDigits = 15;
// The significant digits of single-precision number texts.
constexpr int kSingleDigits = 7;

// A value that is a whole number of hundredths, as prices are, written as that decimal for
// %.15G: "-12.5", "0.05", "100"; nothing for any other value. The decimal reads back as the
// value and has at most 15 digits, so it is the one that %.15G writes; writing it from the whole
// number of hundredths costs a fraction of the general conversion.
char* hundredthsForm(double value, char* first, char* last) {
    constexpr double kBelowFifteenDigits = 1e13;
    if (!(std::fabs(value) < kBelowFifteenDigits)) {
        return nullptr;
    }
    const long long hundredths = std::llround(value * 100);
    if (static_cast<double>(hundredths) / 100 != value) {
        return nullptr;
    }
    char* end = first;
    if (hundredths < 0) {
        *end++ = '-';
    }
    const long long size = std::llabs(hundredths);
    end = std::to_chars(end, last, size / 100).ptr;
    const int cents = static_cast<int>(size % 100);
    if (cents != 0) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) {
            *end++ = static_cast<char>('0' + cents % 10);
        }
    }
    return end;
}

// printf's %.*G into [first, last), at a fraction of printf's cost (a run formats numbers for
// every day of the file); returns the end of the text. Zero is "0", also for -0.0.
char* formatGeneral(double value, int digits, char* first, char* last) {
    if (value == 0.0) {
        *first = '0';
        return first + 1;
    }
    if (!std::isfinite(value)) {
        return first + std::snprintf(first, static_cast<std::size_t>(last - first), "%G", value);
    }
    if (digits == kExactDigits) {
        if (char* end = hundredthsForm(value, first, last)) {
            return end;
        }
    }
    char* end = std::to_chars(first, last, value, std::chars_format::general, digits).ptr;
    std::replace(first, end, 'e', 'E');
    return end;
}

// Room for any number text with its sign or blank.
using NumberBuffer = std::array<char, 64>;

std::string generalForm(double value, int digits) {
    NumberBuffer buffer;
    return {buffer.data(),
            formatGeneral(value, digits, buffer.data(), buffer.data() + buffer.size())};
}

// The general form with a leading blank unless negative and no zero before the point, in
// `buffer`: 0.75 -> " .75", -0.75 -> "-.75".
std::string_view signedGeneralForm(double value, int digits, NumberBuffer& buffer) {
    char* text = buffer.data() + 1;  // room for the blank
    char* end = formatGeneral(value, digits, text, buffer.data() + buffer.size());
    const bool negative = *text == '-';
    char* number = negative ? text + 1 : text;
    if (end - number > 1 && number[0] == '0' && number[1] == '.') {
        *number = negative ? '-' : ' ';  // the sign takes the zero's place
        return {number, end};
    }
    if (negative) {
        return {text, end};
    }
    buffer[0] = ' ';
    return {buffer.data(), end};
}

// The whole number of hundredths of a value that lies clearly between two of them, toward zero,
// from which its trimmed cut number text is written at a fraction of the cost of the number text
// read back; nothing for any other value. Between 1e-3 and 1e9 the number text is in fixed
// notation with at least six decimals and moves the value by under 1e-6 when it rounds to 15
// digits; the product below errs by under 1e-7. Neither can carry a value that stands more than
// 1e-5 from every hundredth across one, so the text keeps exactly the two decimals of that whole
// number.
std::optional<double> clearHundredths(double value) {
    constexpr double kMargin = 1e-3;  // in hundredths
    const double size = std::fabs(value);
    if (!(size >= 1e-3 && size < 1e9)) {
        return std::nullopt;
    }
    const double hundredths = std::floor(size * 100);
    const double fraction = size * 100 - hundredths;
    if (fraction < kMargin || fraction > 1 - kMargin) {
        return std::nullopt;
    }
    return hundredths;
}

double signedCut(double value, double hundredths) {
    const double cut = hundredths / 100;
    return value < 0 ? -cut : cut;
}

std::optional<CutNumber> clearlyCutNumber(double value) {
    const std::optional<double> hundredths = clearHundredths(value);
    if (!hundredths) {
        return std::nullopt;
    }
    const auto whole = static_cast<long long>(*hundredths);
    NumberBuffer buffer;
    char* end = buffer.data();
    if (value < 0) {
        *end++ = '-';
    }
    if (whole >= 100) {
        end = std::to_chars(end, buffer.data() + buffer.size(), whole / 100).ptr;
    }
    *end++ = '.';
    *end++ = static_cast<char>('0' + whole % 100 / 10);
    *end++ = static_cast<char>('0' + whole % 10);
    return CutNumber{std::string(buffer.data(), end), signedCut(value, *hundredths)};
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
// A plain decimal such as a price, the whole text.
std::optional<double> shortDecimal(std::string_view text) {
    const std::optional<PlainDecimal> decimal = plainDecimal(text, '\0');
    if (!decimal || decimal->length != text.size()) {
        return std::nullopt;
    }
    return decimal->value;
}

// Length of the number at the start of `text`: sign, digits, point, digits, exponent.
// With `grouping`, commas may stand between the digits before the point; they are left out of
// `cleaned`. Returns 0 when no digit was found.
std::size_t scanNumber(std::string_view text, bool grouping, std::string& cleaned) {
    std::size_t i = 0;
    std::size_t digitCount = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            cleaned += '-';
        }
        ++i;
    }
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            cleaned += text[i];
            ++digitCount;
        } else if (!(grouping && text[i] == ',' && digitCount > 0 && i + 1 < text.size() &&
                     isDigit(text[i + 1]))) {
            break;
        }
    }
    if (i < text.size() && text[i] == '.') {
        cleaned += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            cleaned += text[i];
            ++digitCount;
        }
    }
    if (digitCount == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponent += text[j++];
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                exponent += text[j++];
            }
            cleaned += exponent;
            i = j;
        }
    }
    return i;
}

double convert(const std::string& cleaned) {
    // strtod_l with the C locale: the decimal mark is always a point, whatever the desktop's
    // language, and an overflow is told apart from an underflow.
    static const locale_t cLocale = ::newlocale(LC_NUMERIC_MASK, "C", nullptr);
    errno = 0;
    const double value = ::strtod_l(cleaned.c_str(), nullptr, cLocale);
    if (errno == ERANGE && std::isinf(value)) {
        throw programError(Failure::OutOfRange);
    }
    return value;  // an underflow reads as the tiny value or 0
}

}  // namespace

std::string numberText(double value) {
    NumberBuffer buffer;
    return std::string(signedGeneralForm(value, kExactDigits, buffer));
}

std::string singleText(float value) {
    NumberBuffer buffer;
    return std::string(signedGeneralForm(value, kSingleDigits, buffer));
}

std::string printedNumber(float value) {
    return singleText(value) + " ";
}

std::string cutText(std::string_view text, int decimals) {
    const auto point = text.find('.');
    if (point == std::string_view::npos) {
        return std::string(text);
    }
    // An exponent stays, so that " 5.1234E-05" is cut to " 5.12E-05" and keeps its value's size.
    const auto exponent = text.find('E', point);
    if (exponent != std::string_view::npos) {
        decimals = kCutDecimals;
    }
    const std::string_view tail = exponent == std::string_view::npos ? "" : text.substr(exponent);
    const std::size_t kept = std::min(point + 1 + static_cast<std::size_t>(decimals), exponent);
    return std::string(text.substr(0, kept)).append(tail);
}

std::string cutNumberText(double value, int decimals) {
    NumberBuffer buffer;
    return cutText(signedGeneralForm(value, kExactDigits, buffer), decimals);
}

int priceDecimals(std::string_view price) {
    constexpr int kMostDecimals = 8;
    float single = 0;
    try {
        single = static_cast<float>(strictNumber(price));
    } catch (const AppError&) {
        return kCutDecimals;
    }
    NumberBuffer buffer;
    const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), single,
                                    std::chars_format::fixed)
                          .ptr;
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const auto point = text.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
    return std::clamp(decimals, kCutDecimals, kMostDecimals);
}

std::string trimmedNumberText(double value) {
    NumberBuffer buffer;
    return std::string(trimmedView(signedGeneralForm(value, kExactDigits, buffer)));
}

std::string trimmedCutText(double value, int decimals) {
    return trimmed(cutNumberText(value, decimals));
}

CutNumber trimmedCutNumber(double value, int decimals) {
    if (decimals == kCutDecimals) {
        if (std::optional<CutNumber> cut = clearlyCutNumber(value)) {
            return std::move(*cut);
        }
    }
    std::string text = trimmedCutText(value, decimals);
    const double shown = strictNumber(text);
    return {std::move(text), shown};
}

double trimmedCutValue(double value, int decimals) {
    if (decimals == kCutDecimals) {
        if (const std::optional<double> hundredths = clearHundredths(value)) {
            return signedCut(value, *hundredths);
        }
    }
    return strictNumber(trimmedCutText(value, decimals));
}

std::string plainText(double value) {
    return generalForm(value, kExactDigits);
}

std::string plainCutText(double value) {
    return cutText(plainText(value));
}

std::string_view trimmedView(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string trimmed(std::string_view text) {
    return std::string(trimmedView(text));
}

double leadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    std::string cleaned;
    if (scanNumber(text.substr(start), false, cleaned) == 0) {
        return 0;
    }
    return convert(cleaned);
}

double strictNumber(std::string_view text) {
    // Prices seldom stand between blanks: a text that reads as it is needs no trimming.
    if (const std::optional<double> value = shortDecimal(text)) {
        return *value;
    }
    const std::string_view number = trimmedView(text);
    if (const std::optional<double> value = shortDecimal(number)) {
        return *value;
    }
    std::string cleaned;
    if (number.empty() || scanNumber(number, true, cleaned) != number.size()) {
        throw programError(Failure::NotANumber);
    }
    return convert(cleaned);
}

std::string withDecimalPoint(std::string_view text) {
    constexpr std::size_t kGroupDigits = 3;
    std::string written(text);
    for (std::size_t comma = written.find(','); comma != std::string::npos;
         comma = written.find(',', comma + 1)) {
        const std::size_t digitsEnd =
            std::find_if_not(written.begin() + comma + 1, written.end(), isDigit) - written.begin();
        if (digitsEnd - comma - 1 != kGroupDigits) {
            written[comma] = '.';
        }
    }
    return written;
}

double typedNumber(std::string_view text) {
    return strictNumber(withDecimalPoint(text));
}

std::optional<double> typedPrice(std::string_view text) {
    try {
        const double value = typedNumber(text);
        return isPossiblePrice(value) ? std::optional<double>(value) : std::nullopt;
    } catch (const AppError&) {
        return std::nullopt;
    }
}

}  // namespace aurelant
