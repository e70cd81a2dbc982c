#include "import/cells.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace aurelant::import {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
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

// The digits and marks of a number, the decimal mark made a point; nothing for other text.
std::optional<std::string> plainNumber(std::string_view bare, NumberMarks marks) {
    std::string digits;
    bool decimalSeen = false;
    bool digitSeen = false;
    for (const char c : bare) {
        if (isDigit(c)) {
            digits += c;
            digitSeen = true;
        } else if (c == marks.decimal && !decimalSeen) {
            digits += '.';
            decimalSeen = true;
        } else if (c != marks.thousands || marks.thousands == 0 || decimalSeen) {
            return std::nullopt;
        }
    }
    if (!digitSeen) {
        return std::nullopt;
    }
    return digits;
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
        std::from_chars(text.data() + from, text.data() + from + parts.lengths[part],
                        parts.values[part]);
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

int numberAt(std::string_view text, std::size_t from, std::size_t length) {
    int value = 0;
    std::from_chars(text.data() + from, text.data() + from + length, value);
    return value;
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
    const bool blanks = separator == kBlankRuns;
    auto separates = [&](char c) { return blanks ? isBlank(c) : c == separator; };
    std::size_t start = 0;
    if (blanks) {
        while (start < line.size() && isBlank(line[start])) {
            ++start;
        }
    }
    bool quoted = false;
    for (std::size_t at = start; at < line.size(); ++at) {
        if (line[at] == '"') {
            quoted = !quoted;
        } else if (!quoted && separates(line[at])) {
            cells.push_back(line.substr(start, at - start));
            while (blanks && at + 1 < line.size() && isBlank(line[at + 1])) {
                ++at;
            }
            start = at + 1;
        }
    }
    if (!blanks || start < line.size()) {
        cells.push_back(line.substr(start));
    }
}

std::string bareNumber(std::string_view cell, Decorations& found) {
    std::string bare;
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
            bare += c;
        }
    }
    return bare;
}

bool isPlaceholder(std::string_view cell) {
    std::string text(unquoted(cell));
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* placeholder : {"", "null", "n/a", "na", "nan", "-", "--", "\xE2\x80\x94"}) {
        if (text == placeholder) {
            return true;
        }
    }
    return false;
}

void MarkTally::add(std::string_view bare) {
    const std::size_t point = bare.rfind('.');
    const std::size_t comma = bare.rfind(',');
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
    if (std::count(bare.begin(), bare.end(), bare[at]) > 1) {
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

std::optional<std::string> priceText(std::string_view bare, NumberMarks marks) {
    std::optional<std::string> digits = plainNumber(bare, marks);
    if (!digits || digits->find_first_of("123456789") == std::string::npos) {
        return std::nullopt;
    }
    return digits;
}

std::optional<double> volumeValue(std::string_view bare, NumberMarks marks) {
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
    const std::optional<std::string> digits = plainNumber(bare, marks);
    if (!digits) {
        return std::nullopt;
    }
    double value = 0;
    std::from_chars(digits->data(), digits->data() + digits->size(), value);
    return value * scale;
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
            ++lengths[part];
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
