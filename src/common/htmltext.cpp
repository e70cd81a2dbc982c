#include "common/htmltext.h"

namespace aurelant {

void appendEscapedHtml(std::string& html, char c) {
    switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        default:
            html += c;
    }
}

void appendEscapedHtml(std::string& html, std::string_view text) {
    for (const char c : text) {
        appendEscapedHtml(html, c);
    }
}

std::string escapedHtml(std::string_view text) {
    std::string html;
    appendEscapedHtml(html, text);
    return html;
}

}  // namespace aurelant
