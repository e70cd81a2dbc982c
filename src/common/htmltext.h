#pragma once

#include <string>
#include <string_view>

// Text put into an HTML page: "&", "<" and ">" are written as entities, so that text from a
// user's file or a file name shows as text and never as markup.
namespace aurelant {

void appendEscapedHtml(std::string& html, char c);
void appendEscapedHtml(std::string& html, std::string_view text);
std::string escapedHtml(std::string_view text);

}  // namespace aurelant
