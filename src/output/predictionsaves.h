#pragma once

#include <string>
#include <string_view>

namespace aurelant {

class AppState;

// The three saves of the last prediction's data file, each into a file the user names:
// unchanged tab-separated text, an HTML page (which the user may then view), or CSV.
void saveAsText(AppState& window);
void saveAsHtml(AppState& window);
void saveAsCsv(AppState& window);

// One line of the data file as a row of the HTML page: markup characters escaped, a cell per
// TAB-separated column, blanks kept as non-breaking spaces, and the next row opened.
void appendHtmlRow(std::string& html, std::string_view line);

}  // namespace aurelant
