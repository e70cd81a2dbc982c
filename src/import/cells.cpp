#include "import/cells.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>

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
    for (const char c : std::string_view("\"$%' \t")) {
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

// The date part of a cell that may hold a time after it: "2024-01-02T09:30" -> "2024-01-02".
std::optional<std::string_view> datePart(std::string_view cell) {
    std::string_view text = unquoted(cell);
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        const std::size_t cut = text.find_last_of(" T", colon);
        if (cut == std::string_view::npos) {
            return std::nullopt;  // a time alone
        }
        text = trimmedView(text.substr(0, cut));
    }
    return text;
}

// The number that the `length` digits at `from` write, a few at most.
int numberAt(std::string_view text, std::size_t from, std::size_t length) {
    int value = 0;
    for (const char digit : text.substr(from, length)) {
        value = value * 10 + (digit - '0');
    }
    return value;
}

// The three numbers of a date written in digits only, as most are: "2024-02-07", "07.02.24",
// "20240207"; read here without the general parser, which a file of 30,000 days would feel.
struct NumberParts {
    std::array<int, 3> values{};
    std::array<std::size_t, 3> lengths{};
};

std::optional<NumberParts> numberParts(std::string_view text) {
    NumberParts parts;
    const bool compact = text.size() == 8 && std::all_of(text.begin(), text.end(), isDigit);
    if (compact) {
        parts.lengths = {4, 2, 2};
    } else {
        std::size_t part = 0;
        for (const char c : text) {
            if (isDigit(c) && parts.lengths[part] < 4) {
                ++parts.lengths[part];
            } else if ((c == '-' || c == '/' || c == '.') && part < 2 && parts.lengths[part] > 0) {
                ++part;
            } else {
                return std::nullopt;
            }
        }
        if (part != 2 || parts.lengths[2] == 0) {
            return std::nullopt;
        }
    }
    std::size_t from = 0;
    for (std::size_t part = 0; part < 3; ++part) {
        parts.values[part] = numberAt(text, from, parts.lengths[part]);
        from += parts.lengths[part] + (compact ? 0 : 1);
    }
    return parts;
}

std::optional<CalendarDate> numericDate(const NumberParts& parts, NumericOrder order) {
    const auto [a, b, c] = parts.values;
    if (parts.lengths[0] > 2) {
        return validDate(a, b, c);
    }
    if (parts.lengths[2] != 2 && parts.lengths[2] != 4) {
        return std::nullopt;
    }
    const int year = parts.lengths[2] == 2 ? (c < 30 ? 2000 + c : 1900 + c) : c;
    const bool dayFirst =
        order == NumericOrder::DayFirst || (order == NumericOrder::Lenient && a > 12 && b <= 12);
    return dayFirst ? validDate(year, b, a) : validDate(year, a, b);
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

std::string_view bareNumber(std::string_view cell, Decorations& found, std::string& scratch) {
    if (std::none_of(cell.begin(), cell.end(),
                     [](char c) { return kMayBeDropped[static_cast<unsigned char>(c)]; })) {
        return cell;
    }
    scratch.clear();
    for (std::size_t at = 0; at < cell.size(); ++at) {
        const char c = cell[at];
        const auto wide = std::find_if(kWideSigns.begin(), kWideSigns.end(), [&](const auto& sign) {
            return cell.substr(at, sign.bytes.size()) == sign.bytes;
        });
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

void MarkTally::add(std::string_view bare) {
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

NumberMarks MarkTally::decide() const {
    bool commaIsDecimal = false;
    if (commaDecimal_ != pointDecimal_) {
        commaIsDecimal = commaDecimal_ > pointDecimal_;
    } else if (commaThousands_ > 0 || pointThousands_ > 0) {
        commaIsDecimal = pointThousands_ > commaThousands_;
    } else {
        commaIsDecimal = commaUnclear_ > 0 && pointUnclear_ == 0;
    }
    if (commaIsDecimal) {
        return {',', pointDecimal_ + pointThousands_ + pointUnclear_ > 0 ? '.' : char{0}};
    }
    return {'.', commaDecimal_ + commaThousands_ + commaUnclear_ > 0 ? ',' : char{0}};
}

bool MarkTally::ambiguous() const {
    const bool proven = pointDecimal_ + commaDecimal_ + pointThousands_ + commaThousands_ > 0;
    return !proven && pointUnclear_ + commaUnclear_ > 0;
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

std::optional<double> volumeValue(std::string_view bare, NumberMarks marks, std::string& scratch) {
    double scale = 1;
    if (!bare.empty()) {
        switch (std::toupper(static_cast<unsigned char>(bare.back()))) {
            case 'K':
                scale = 1e3;
                break;
            case 'M':
                scale = 1e6;
                break;
            case 'B':
                scale = 1e9;
                break;
            default:
                break;
        }
        if (scale != 1) {
            bare.remove_suffix(1);
        }
    }
    scratch.resize(bare.size());
    const std::optional<PlainNumber> number = writePlainNumber(bare, marks, scratch.data());
    if (!number) {
        return std::nullopt;
    }
    return priceValue(std::string_view(scratch).substr(0, number->length)) * scale;
}

std::optional<CalendarDate> cellDate(std::string_view cell, NumericOrder order) {
    const std::optional<std::string_view> text = datePart(cell);
    if (!text) {
        return std::nullopt;
    }
    if (const auto numbers = numberParts(*text)) {
        return numericDate(*numbers, order);
    }
    return parseDate(*text, order);
}

bool holdsTime(std::string_view cell) {
    const std::size_t colon = cell.find(':');
    return colon != std::string_view::npos && colon > 0 && isDigit(cell[colon - 1]);
}

std::optional<LeadingPair> leadingPair(std::string_view cell) {
    const std::optional<std::string_view> text = datePart(cell);
    if (!text) {
        return std::nullopt;
    }
    // d{1,2} mark d{1,2} mark d{2,4}, the two marks alike
    std::array<std::size_t, 3> lengths{};
    std::size_t part = 0;
    char mark = 0;
    for (const char c : *text) {
        if (isDigit(c)) {
            if (++lengths[part] > (part < 2 ? 2U : 4U)) {
                return std::nullopt;
            }
        } else if ((c == '/' || c == '.' || c == '-') && part < 2 && (mark == 0 || c == mark)) {
            mark = c;
            ++part;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || lengths[0] == 0 || lengths[0] > 2 || lengths[1] == 0 || lengths[1] > 2 ||
        lengths[2] < 2 || lengths[2] > 4) {
        return std::nullopt;
    }
    return LeadingPair{numberAt(*text, 0, lengths[0]), numberAt(*text, lengths[0] + 1, lengths[1])};
}

}  // namespace aurelant::import
