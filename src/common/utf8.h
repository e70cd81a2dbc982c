#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts are UTF-8; lengths and cuts that users see count characters, not bytes. A byte that is
// not part of valid UTF-8 counts as one character and is kept as it is.
namespace aurelant {

std::size_t characterCount(std::string_view text);

// Whether every byte of the text belongs to a valid UTF-8 sequence.
bool isValidUtf8(std::string_view text);

// Appends the UTF-8 bytes of a Unicode code point.
void appendUtf8(std::string& out, char32_t code);

// The length in bytes of the character at `at`: a valid UTF-8 sequence, or one stray byte.
std::size_t characterLength(std::string_view text, std::size_t at);

// The number of bytes that the first `characters` characters of the text take.
std::size_t characterPrefixLength(std::string_view text, std::size_t characters);

// The text with every control character written as an escape (\r, \n, \t, \0 or \xNN), so
// that it stays on one line and shows every byte, a NUL too.
std::string escapedControls(std::string_view text);

// A file name as reports and saved pages show it: in upper case, escaped, so that a CR or LF in
// the name never starts a line of its own.
std::string shownFileName(std::string_view path);

// A value from a user's file as a message shows it: escaped, cut at 40 characters with "...",
// between double quotes.
std::string shownValue(std::string_view text);

// The text with its letters in upper case, accented and other non-English letters included.
std::string upperCase(std::string_view text);
std::string lowerCase(std::string_view text);

}  // namespace aurelant
