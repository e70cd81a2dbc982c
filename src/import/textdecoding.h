#pragma once

#include <string>
#include <string_view>

// The first stage of reading a price table: its bytes as UTF-8 text, whatever common encoding
// wrote them.
namespace aurelant::import {

enum class Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

struct DecodedText {
    std::string converted;   // the text when it had to be converted
    std::string_view plain;  // the source without its byte-order mark, when it is UTF-8
    Encoding encoding = Encoding::Utf8;
    std::string problem;  // why the bytes are no text at all; empty for text

    // UTF-8 without a byte-order mark.
    std::string_view text() const {
        return encoding == Encoding::Utf8 ? plain : std::string_view(converted);
    }
};

// UTF-8 with or without a byte-order mark as it stands; UTF-16 with a byte-order mark decoded;
// bytes that are not valid UTF-8 read as Windows-1252. Bytes with NULs and no UTF-16 mark are
// no text. The result views `bytes` where nothing is converted, so `bytes` must outlive it.
DecodedText decodeText(std::string_view bytes);

// The encoding's name, as the preview gives it.
const char* encodingName(Encoding encoding);

}  // namespace aurelant::import
