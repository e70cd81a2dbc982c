#include "common/htmltext.h"

namespace aurelant {

std::string escapedHtml(std::string_view text) {
    std::string html;
    appendReplaced(html, text, htmlEntity);
    return html;
}

}  // namespace aurelant
