#include "common/utf8.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

namespace aurelant {
namespace {

// The case rules of Unicode, from the C library's UTF-8 locale; nothing where it is missing.
locale_t unicodeCase() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

// Decodes the UTF-8 sequence at `at`; its length is 0 when the bytes there are not valid UTF-8.
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || at + length > text.size()) {
        return {0, 0};
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return {0, 0};
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return {0, 0};  // an overlong form, a surrogate or beyond Unicode
    }
    return {code, length};
}

}  // namespace

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const std::size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static constexpr unsigned char kLeads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeads[length] | (code >> (6 * (length - 1))));
    for (std::size_t i = length - 1; i > 0; --i) {
        out += static_cast<char>(0x80 | ((code >> (6 * (i - 1))) & 0x3F));
    }
}

namespace {

// The length of the run of ASCII bytes at the start of the text, looked at eight bytes at a
// time: each of these bytes is a character of its own.
std::size_t asciiPrefixLength(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080U;
    std::size_t at = 0;
    for (std::uint64_t word = 0; at + sizeof word <= text.size(); at += sizeof word) {
        std::memcpy(&word, text.data() + at, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) {
        ++at;
    }
    return at;
}

}  // namespace

std::size_t characterLength(std::string_view text, std::size_t at) {
    const std::size_t length = decodeUtf8(text, at).second;
    return length == 0 ? 1 : length;
}

bool isValidUtf8(std::string_view text) {
    // A word or a name of another script stands among long runs of ASCII, each skipped at once.
    for (std::size_t at = asciiPrefixLength(text); at < text.size();
         at += asciiPrefixLength(text.substr(at))) {
        const std::size_t length = decodeUtf8(text, at).second;
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = asciiPrefixLength(text);
    for (std::size_t at = count; at < text.size(); at += characterLength(text, at)) {
        ++count;
    }
    return count;
}

std::size_t characterPrefixLength(std::string_view text, std::size_t characters) {
    std::size_t at = 0;
    for (; at < text.size() && characters > 0; --characters) {
        at += characterLength(text, at);
    }
    return at;
}

namespace {

std::string withCase(std::string_view text, bool upper) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto [code, length] = decodeUtf8(text, at);
        if (length == 0) {
            out += text[at++];
            continue;
        }
        const locale_t locale = unicodeCase();
        if (locale) {
            appendUtf8(out, static_cast<char32_t>(upper ? ::towupper_l(code, locale)
                                                        : ::towlower_l(code, locale)));
        } else if (upper) {
            appendUtf8(out, code >= 'a' && code <= 'z' ? code - 32 : code);
        } else {
            appendUtf8(out, code >= 'A' && code <= 'Z' ? code + 32 : code);
        }
        at += length;
    }
    return out;
}

}  // namespace

std::string upperCase(std::string_view text) {
    return withCase(text, true);
}

std::string lowerCase(std::string_view text) {
    return withCase(text, false);
}

std::string escapedControls(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += c;
            continue;
        }
        static constexpr std::string_view kNamed[][2] = {
            {"\r", "\\r"}, {"\n", "\\n"}, {"\t", "\\t"}, {std::string_view("\0", 1), "\\0"}};
        const auto* named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                         [c](const auto& pair) { return pair[0][0] == c; });
        if (named != std::end(kNamed)) {
            escaped += (*named)[1];
        } else {
            constexpr std::string_view kDigits = "0123456789ABCDEF";
            escaped.append("\\x").append(1, kDigits[byte >> 4]).append(1, kDigits[byte & 15]);
        }
    }
    return escaped;
}

std::string shownFileName(std::string_view path) {
    return escapedControls(upperCase(path));
}

std::string shownValue(std::string_view text) {
    constexpr std::size_t kLongestShown = 40;
    if (characterCount(text) <= kLongestShown) {
        return "\"" + escapedControls(text) + "\"";
    }
    return "\"" + escapedControls(text.substr(0, characterPrefixLength(text, kLongestShown))) +
           "...\"";
}

}  // namespace aurelant
