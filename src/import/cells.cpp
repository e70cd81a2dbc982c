#include "import/cells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "common/numtext.h"

namespace aurelant::import {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::array<std::string_view, 8> kPlaceholders{"",    "null", "n/a", "na",
                                                        "nan", "-",    "--",  "\xE2\x80\x94"};

// The bytes that bareNumber drops, or may drop as part of a wider sign.
constexpr std::array<bool, 256> kMayBeDropped = [] {
    std::array<bool, 256> dropped{};
    for (const char c : std::string_view("\"$%' \teE")) {
        dropped[static_cast<unsigned char>(c)] = true;
    }
    for (std::size_t byte = 0x80; byte < dropped.size(); ++byte) {
        dropped[byte] = true;
    }
    return dropped;
}();

// UTF-8 signs that bareNumber drops: no-break spaces and currency signs.
struct WideSign {
    std::string_view bytes;
    bool currency;
};
constexpr std::array<WideSign, 5> kWideSigns{{{"\xC2\xA0", false},
                                              {"\xE2\x80\xAF", false},
                                              {"\xE2\x82\xAC", true},
                                              {"\xC2\xA3", true},
                                              {"\xC2\xA5", true}}};

// What writePlainNumber wrote.
struct PlainNumber {
    std::size_t length = 0;
    bool aboveZero = false;
};

// Writes the digits and marks of a number to `out`, which has room for `bare`, the decimal mark
// made a point; nothing for other text.
std::optional<PlainNumber> writePlainNumber(std::string_view bare, NumberMarks marks, char* out) {
    char* next = out;
    bool decimalSeen = false;
    bool digitSeen = false;
    bool nonZero = false;
    for (const char c : bare) {
        if (isDigit(c)) {
            *next++ = c;
            digitSeen = true;
            nonZero = nonZero || c != '0';
        } else if (c == marks.decimal && !decimalSeen) {
            *next++ = '.';
            decimalSeen = true;
        } else if (c != marks.thousands || marks.thousands == 0 || decimalSeen) {
            return std::nullopt;
        }
    }
    if (!digitSeen) {
        return std::nullopt;
    }
    return PlainNumber{static_cast<std::size_t>(next - out), nonZero};
}

// Cuts at runs of blanks outside double quotes; blanks at either end cut nothing.
void splitAtBlankRuns(std::string_view line, std::vector<std::string_view>& cells) {
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) {
        ++start;
    }
    bool quoted = false;
    for (std::size_t at = start; at < line.size(); ++at) {
        if (line[at] == '"') {
            quoted = !quoted;
        } else if (!quoted && isBlank(line[at])) {
            cells.push_back(line.substr(start, at - start));
            while (at + 1 < line.size() && isBlank(line[at + 1])) {
                ++at;
            }
            start = at + 1;
        }
    }
    if (start < line.size()) {
        cells.push_back(line.substr(start));
    }
}

}  // namespace

std::string_view unquoted(std::string_view cell) {
    cell = trimmedView(cell);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
        cell = trimmedView(cell.substr(1, cell.size() - 2));
    }
    return cell;
}

void splitFields(std::string_view line, char separator, std::vector<std::string_view>& cells) {
    cells.clear();
    if (separator == kBlankRuns) {
        splitAtBlankRuns(line, cells);
        return;
    }
    if (line.find('"') == std::string_view::npos) {  // as most lines: every separator cuts
        std::size_t start = 0;
        for (std::size_t at = line.find(separator); at != std::string_view::npos;
             at = line.find(separator, start)) {
            cells.push_back(line.substr(start, at - start));
            start = at + 1;
        }
        cells.push_back(line.substr(start));
        return;
    }
    bool quoted = false;
    const char* start = line.data();
    const char* const end = line.data() + line.size();
    for (const char* at = start; at != end; ++at) {
        if (*at == '"') {
            quoted = !quoted;
        } else if (*at == separator && !quoted) {
            cells.emplace_back(start, static_cast<std::size_t>(at - start));
            start = at + 1;
        }
    }
    cells.emplace_back(start, static_cast<std::size_t>(end - start));
}

void Grid::add(const std::vector<std::string_view>& cells) {
    for (const std::string_view cell : cells) {
        bounds_.push_back(static_cast<std::uint32_t>(cell.data() - base_));
    }
    bounds_.push_back(
        static_cast<std::uint32_t>(cells.back().data() + cells.back().size() - base_));
}

std::string_view Grid::at(std::size_t row, std::size_t column) const {
    const std::uint32_t* bounds = &bounds_[row * (width_ + 1) + column];
    const char* const begin = base_ + bounds[0];
    const char* end = base_ + bounds[1];  // where the next cell begins, or the last one ends
    if (column + 1 < width_) {
        // The separator before the next cell: one character, or a run of blanks that no cell
        // ends in outside its quotes.
        --end;
        while (separator_ == kBlankRuns && end > begin && isBlank(end[-1])) {
            --end;
        }
    }
    return {begin, static_cast<std::size_t>(end - begin)};
}

namespace {

// A byte of a currency's sign or code: a letter, "$", the point of "Rs." or "ر.س", or a byte of
// a wider character ("zł", "₹", "R$").
bool isSignByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '$' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// A currency's sign or code: up to four characters, not a point alone, nor one of the letters
// that scale a number ("12.5K") or give its power of ten.
bool isCurrencySign(std::string_view sign) {
    constexpr std::size_t kLongestSign = 4;
    const std::size_t characters =
        static_cast<std::size_t>(std::count_if(sign.begin(), sign.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    return characters >= 1 && characters <= kLongestSign &&
           sign.find_first_not_of('.') != std::string_view::npos &&
           !(sign.size() == 1 && std::string_view("KkMmBbEe").find(sign) != std::string_view::npos);
}

// Whether the blanks within a number only group its thousands ("1 234,56"), as no date's do
// ("2, 2024" of "Jan 2, 2024").
bool blanksGroupThousands(std::string_view text) {
    constexpr std::size_t kGroup = 3;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!isBlank(text[at])) {
            continue;
        }
        const std::size_t digits = text.find_first_not_of("0123456789", at + 1);
        const std::size_t end = digits == std::string_view::npos ? text.size() : digits;
        if (at == 0 || !isDigit(text[at - 1]) || end - at - 1 != kGroup) {
            return false;
        }
    }
    return true;
}

// The cell without a currency's sign or code before or after its number, set apart by a blank
// or not, as banks and portals write prices: "12,50 EUR", "R$ 1.234,56", "1 234,56 zł",
// "₹1,234.56", "12.50USD".
std::string_view withoutCurrencySign(std::string_view cell, Decorations& found) {
    std::string_view text = unquoted(cell);
    const std::size_t first = static_cast<std::size_t>(
        std::find_if_not(text.begin(), text.end(), isSignByte) - text.begin());
    const std::size_t last = static_cast<std::size_t>(
        std::find_if_not(text.rbegin(), text.rend(), isSignByte) - text.rbegin());
    const bool before = first > 0 && first < text.size() && isCurrencySign(text.substr(0, first));
    const bool after = !before && last > 0 && last < text.size() &&
                       isCurrencySign(text.substr(text.size() - last));
    if (!before && !after) {
        return cell;
    }
    text = trimmedView(before ? text.substr(first) : text.substr(0, text.size() - last));
    if (text.empty() || !blanksGroupThousands(text)) {
        return cell;
    }
    found.currency = true;
    found.quotes = found.quotes || cell.find('"') != std::string_view::npos;
    return text;
}

// The most a power of ten may shift a number's point: far beyond any price or volume.
constexpr int kMostExponent = 30;

// The power of ten after the "e" of a number in scientific notation: "-05", "+3", "12".
std::optional<int> exponentOf(std::string_view power) {
    if (!power.empty() && power.front() == '+') {
        power.remove_prefix(1);
    }
    int exponent = 0;
    const auto [end, error] = std::from_chars(power.data(), power.data() + power.size(), exponent);
    if (power.empty() || error != std::errc{} || end != power.data() + power.size() ||
        std::abs(exponent) > kMostExponent) {
        return std::nullopt;
    }
    return exponent;
}

// A number in scientific notation written out as a plain decimal in `scratch`, every digit kept:
// "1.25e-05" -> "0.0000125", "-3E+2" -> "-300". Nothing for any other text.
std::optional<std::string_view> writtenOut(std::string_view text, std::string& scratch) {
    const std::size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos || e == 0) {
        return std::nullopt;
    }
    const std::optional<int> exponent = exponentOf(text.substr(e + 1));
    std::string_view mantissa = text.substr(0, e);
    const bool negative = mantissa.front() == '-';
    if (negative || mantissa.front() == '+') {
        mantissa.remove_prefix(1);
    }
    std::string digits;
    std::size_t point = std::string_view::npos;
    for (const char c : mantissa) {
        if (isDigit(c)) {
            digits += c;
        } else if (c == '.' && point == std::string_view::npos) {
            point = digits.size();
        } else {
            return std::nullopt;
        }
    }
    if (!exponent || digits.empty()) {
        return std::nullopt;
    }
    // The point moved by the power of ten, zeros added where it leaves the digits.
    const long size = static_cast<long>(digits.size());
    const long at = std::min(static_cast<long>(point), size) + *exponent;
    const std::string out =
        at <= 0      ? "0." + std::string(static_cast<std::size_t>(-at), '0') + digits
        : at >= size ? digits + std::string(static_cast<std::size_t>(at - size), '0')
                     : digits.substr(0, static_cast<std::size_t>(at)) + "." +
                           digits.substr(static_cast<std::size_t>(at));
    // No zeros before the whole part's first digit: "0012.5e0" -> "12.5", but "0.5" stays.
    const std::size_t lastWhole = std::min(out.find('.'), out.size()) - 1;
    scratch = (negative ? "-" : "") + out.substr(std::min(out.find_first_not_of('0'), lastWhole));
    return scratch;
}

// bareNumber of a cell that holds more than a number's digits and marks. Not inlined: its frame
// would slow the quick answer that most cells get.
[[gnu::noinline]] std::string_view decoratedNumber(std::string_view cell, Decorations& found,
                                                   std::string& scratch) {
    cell = withoutCurrencySign(cell, found);
    if (const std::optional<std::string_view> written = writtenOut(unquoted(cell), scratch)) {
        found.exponents = true;
        found.quotes = found.quotes || cell.find('"') != std::string_view::npos;
        return *written;
    }
    scratch.clear();
    for (std::size_t at = 0; at < cell.size(); ++at) {
        const char c = cell[at];
        const bool high = static_cast<unsigned char>(c) >= 0x80;  // as every wide sign begins
        const auto wide =
            high ? std::find_if(kWideSigns.begin(), kWideSigns.end(),
                                [&](const auto& sign) {
                                    return cell.substr(at, sign.bytes.size()) == sign.bytes;
                                })
                 : kWideSigns.end();
        if (wide != kWideSigns.end()) {
            found.currency = found.currency || wide->currency;
            at += wide->bytes.size() - 1;
        } else if (c == '"') {
            found.quotes = true;
        } else if (c == '$') {
            found.currency = true;
        } else if (c == '%') {
            found.percent = true;
        } else if (!isBlank(c) && c != '\'') {
            scratch += c;
        }
    }
    return scratch;
}

}  // namespace

std::string_view bareNumber(std::string_view cell, Decorations& found, std::string& scratch) {
    if (std::none_of(cell.begin(), cell.end(),
                     [](char c) { return kMayBeDropped[static_cast<unsigned char>(c)]; }) &&
        (cell.empty() || (!isSignByte(cell.front()) && !isSignByte(cell.back())))) {
        return cell;
    }
    return decoratedNumber(cell, found, scratch);
}

bool isPlaceholder(std::string_view cell) {
    const std::string_view text = unquoted(cell);
    if (!text.empty() && isDigit(text.front())) {
        return false;  // a price, as nearly every cell is
    }
    auto sameLetters = [text](std::string_view placeholder) {
        return std::equal(text.begin(), text.end(), placeholder.begin(), placeholder.end(),
                          [](char a, char b) { return asciiLower(a) == b; });
    };
    return std::any_of(kPlaceholders.begin(), kPlaceholders.end(), sameLetters);
}

void MarkTally::add(std::string_view bare, bool decimalPoint) {
    if (decimalPoint) {
        ++pointDecimal_;
        return;
    }
    std::size_t point = std::string_view::npos;
    std::size_t comma = std::string_view::npos;
    std::size_t points = 0;
    std::size_t commas = 0;
    for (std::size_t at = 0; at < bare.size(); ++at) {
        if (bare[at] == '.') {
            point = at;
            ++points;
        } else if (bare[at] == ',') {
            comma = at;
            ++commas;
        }
    }
    if (point != std::string_view::npos && comma != std::string_view::npos) {
        ++(point > comma ? pointDecimal_ : commaDecimal_);
        ++(point > comma ? commaThousands_ : pointThousands_);
        return;
    }
    const bool isPoint = point != std::string_view::npos;
    const std::size_t at = isPoint ? point : comma;
    if (at == std::string_view::npos) {
        return;
    }
    if ((isPoint ? points : commas) > 1) {
        ++(isPoint ? pointThousands_ : commaThousands_);
    } else if (bare.size() - at - 1 != 3) {
        ++(isPoint ? pointDecimal_ : commaDecimal_);
    } else {
        ++(isPoint ? pointUnclear_ : commaUnclear_);
    }
}

NumberMarks MarkTally::decide(std::optional<char> chosenDecimal) const {
    bool commaIsDecimal = false;
    if (chosenDecimal) {
        commaIsDecimal = *chosenDecimal == ',';
    } else if (commaDecimal_ != pointDecimal_) {
        commaIsDecimal = commaDecimal_ > pointDecimal_;
    } else if (commaThousands_ > 0 || pointThousands_ > 0) {
        commaIsDecimal = pointThousands_ > commaThousands_;
    } else {
        commaIsDecimal = commaUnclear_ > 0 && pointUnclear_ == 0 && !commasSeparateFields_;
    }
    if (commaIsDecimal) {
        return {',', pointDecimal_ + pointThousands_ + pointUnclear_ > 0 ? '.' : char{0}};
    }
    return {'.', commaDecimal_ + commaThousands_ + commaUnclear_ > 0 ? ',' : char{0}};
}

bool MarkTally::ambiguous() const {
    const bool proven = pointDecimal_ + commaDecimal_ + pointThousands_ + commaThousands_ > 0;
    const bool commasGroup = commasSeparateFields_ && pointUnclear_ == 0;
    return !proven && pointUnclear_ + commaUnclear_ > 0 && !commasGroup;
}

std::optional<std::size_t> writePriceText(std::string_view bare, NumberMarks marks, char* out) {
    const std::optional<PlainNumber> number = writePlainNumber(bare, marks, out);
    if (!number || !number->aboveZero) {
        return std::nullopt;
    }
    return number->length;
}

double priceValue(std::string_view price) {
    if (const std::optional<PlainDecimal> value = plainDecimal(price, '\0');
        value && value->length == price.size()) {
        return value->value;
    }
    double value = 0;  // more digits than a double holds exactly
    std::from_chars(price.data(), price.data() + price.size(), value);
    return value;
}

// The factor of a K, M or B after a number, taken off `bare`; 1 without one.
double suffixScale(std::string_view& bare) {
    if (bare.empty()) {
        return 1;
    }
    const char last = bare.back();
    const double scale = last == 'K' || last == 'k'   ? 1e3
                         : last == 'M' || last == 'm' ? 1e6
                         : last == 'B' || last == 'b' ? 1e9
                                                      : 1;
    if (scale != 1) {
        bare.remove_suffix(1);
    }
    return scale;
}

// Digits and marks only, as nearly every cell of numbers is: nothing to take off.
bool isPlainNumber(std::string_view cell) {
    return std::all_of(cell.begin(), cell.end(),
                       [](char c) { return isDigit(c) || c == '.' || c == ','; });
}

std::optional<double> volumeValue(std::string_view bare, NumberMarks marks, std::string& scratch) {
    const double scale = suffixScale(bare);
    scratch.resize(bare.size());
    const std::optional<PlainNumber> number = writePlainNumber(bare, marks, scratch.data());
    if (!number) {
        return std::nullopt;
    }
    return priceValue(std::string_view(scratch).substr(0, number->length)) * scale;
}

bool hasSuffix(std::string_view bare) {
    return bare.size() > 1 &&
           std::string_view("KkMmBb").find(bare.back()) != std::string_view::npos &&
           isDigit(bare[bare.size() - 2]);
}

namespace {

// A number begins with a digit, or with a point before one (".4310", as some programs write
// prices below 1), and ends with a digit.
bool numberEnds(std::string_view text) {
    return !text.empty() && isDigit(text.back()) &&
           (isDigit(text.front()) || (text.front() == '.' && text.size() > 1 && isDigit(text[1])));
}

}  // namespace

bool looksNumeric(std::string_view cell) {
    if (isPlainNumber(cell)) {
        return numberEnds(cell);
    }
    Decorations ignored;
    std::string scratch;
    std::string_view bare = bareNumber(cell, ignored, scratch);
    if (!bare.empty() && (bare.front() == '-' || bare.front() == '+')) {
        bare.remove_prefix(1);
    }
    suffixScale(bare);
    return numberEnds(bare) && isPlainNumber(bare);
}

std::optional<double> cellNumber(std::string_view cell, NumberMarks marks, std::string& scratch) {
    std::array<char, 24> plain;  // room for the digits of a price
    if (cell.size() <= plain.size() && isPlainNumber(cell)) {
        const std::optional<PlainNumber> number = writePlainNumber(cell, marks, plain.data());
        return number ? std::optional(priceValue(std::string_view(plain.data(), number->length)))
                      : std::nullopt;
    }
    Decorations ignored;
    std::string bareScratch;
    std::string_view bare = bareNumber(cell, ignored, bareScratch);
    const bool negative = !bare.empty() && bare.front() == '-';
    if (negative || (!bare.empty() && bare.front() == '+')) {
        bare.remove_prefix(1);
    }
    const std::optional<double> value = volumeValue(bare, marks, scratch);
    return value && negative ? std::optional(-*value) : value;
}

bool holdsTime(std::string_view cell) {
    const std::size_t colon = cell.find(':');
    return colon != std::string_view::npos && colon > 0 && isDigit(cell[colon - 1]);
}

}  // namespace aurelant::import
