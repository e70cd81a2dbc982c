#include "import/textdecoding.h"

#include <array>

#include "common/utf8.h"

namespace aurelant::import {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
constexpr std::size_t kBinaryLook = 65536;

// Windows-1252's characters for the bytes 0x80 to 0x9F; the five it leaves out read as the
// replacement character.
constexpr std::array<char32_t, 32> kWindows1252High{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size() / 2);
    auto unitAt = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(bytes[at]);
        const auto b = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t code = unitAt(at);
        if (code >= 0xD800 && code <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        appendUtf8(text, code >= 0xD800 && code <= 0xDFFF ? char32_t{0xFFFD} : code);
    }
    return text;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            appendUtf8(text, byte < 0xA0 ? kWindows1252High[byte - 0x80] : char32_t{byte});
        }
    }
    return text;
}

}  // namespace

DecodedText decodeText(std::string_view bytes) {
    DecodedText decoded;
    const bool little = bytes.starts_with(kUtf16LittleMark);
    if (little || bytes.starts_with(kUtf16BigMark)) {
        decoded.encoding = little ? Encoding::Utf16LittleEndian : Encoding::Utf16BigEndian;
        decoded.converted = fromUtf16(bytes.substr(2), !little);
        return decoded;
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    if (bytes.substr(0, kBinaryLook).find('\0') != std::string_view::npos) {
        decoded.problem =
            "This file is not a text file. A price file is plain text, one day a line.";
        return decoded;
    }
    if (isValidUtf8(bytes)) {
        decoded.plain = bytes;
        return decoded;
    }
    decoded.encoding = Encoding::Windows1252;
    decoded.converted = fromWindows1252(bytes);
    return decoded;
}

const char* encodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf16LittleEndian:
            return "UTF-16 (little-endian)";
        case Encoding::Utf16BigEndian:
            return "UTF-16 (big-endian)";
        case Encoding::Windows1252:
            return "Windows-1252";
        default:
            return "UTF-8";
    }
}

}  // namespace aurelant::import
