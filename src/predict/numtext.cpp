#include "predict/numtext.h"

#include <locale.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/errors.h"

namespace aurelant {
namespace {

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
    char* end = std::to_chars(first, last, value, std::chars_format::general, digits).ptr;
    std::replace(first, end, 'e', 'E');
    return end;
}

std::string generalForm(double value, int digits) {
    char buffer[64];
    return {buffer, formatGeneral(value, digits, buffer, buffer + sizeof buffer)};
}

// The general form with a leading blank unless negative and no zero before the point:
// 0.75 -> " .75", -0.75 -> "-.75".
std::string signedGeneralForm(double value, int digits) {
    char buffer[64];
    char* text = buffer + 1;  // room for the blank
    char* end = formatGeneral(value, digits, text, buffer + sizeof buffer);
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
    return {buffer, end};
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
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

// Digits, points and minus signs only: a text that from_chars may read directly, or reject.
bool isPlainDecimal(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return isDigit(c) || c == '.' || c == '-'; });
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
    return signedGeneralForm(value, 15);
}

std::string singleText(float value) {
    return signedGeneralForm(value, 7);
}

std::string printedNumber(float value) {
    return singleText(value) + " ";
}

std::string cutText(std::string_view text) {
    const auto point = text.find('.');
    if (point == std::string_view::npos) {
        return std::string(text);
    }
    return std::string(text.substr(0, point + 3));
}

std::string cutNumberText(double value) {
    return cutText(numberText(value));
}

std::string plainText(double value) {
    return generalForm(value, 15);
}

std::string plainCutText(double value) {
    return cutText(plainText(value));
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
    const std::string_view number = trimmedView(text);
    if (isPlainDecimal(number)) {
        double value = 0;
        const char* end = number.data() + number.size();
        const auto [stop, failure] = std::from_chars(number.data(), end, value);
        if (failure == std::errc() && stop == end) {
            return value;
        }
    }
    std::string cleaned;
    if (number.empty() || scanNumber(number, true, cleaned) != number.size()) {
        throw programError(Failure::NotANumber);
    }
    return convert(cleaned);
}

}  // namespace aurelant
