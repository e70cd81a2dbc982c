#pragma once

#include <string>
#include <string_view>

// Text put into an HTML page: "&", "<" and ">" are written as entities, so that text from a
// user's file or a file name shows as text and never as markup.
namespace aurelant {

// The entity that stands for `c`, or nothing when `c` stands for itself.
constexpr std::string_view htmlEntity(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return {};
    }
}

// Appends `text` with every character that `replacement` gives a text for replaced by it; the
// stretches between are copied whole.
template <typename Replacement>
void appendReplaced(std::string& out, std::string_view text, Replacement replacement) {
    std::size_t plainStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view replaced = replacement(text[i]);
        if (!replaced.empty()) {
            out.append(text.data() + plainStart, i - plainStart);
            out.append(replaced);
            plainStart = i + 1;
        }
    }
    out.append(text.data() + plainStart, text.size() - plainStart);
}

std::string escapedHtml(std::string_view text);

}  // namespace aurelant
