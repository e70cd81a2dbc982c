#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace aurelant {

class AppState;

// The conversion tool: writes a comma-separated copy of a space-separated file under a new name
// and shows the converted lines. With `savechoice` "frompaste" it converts the file that the
// paste import has just saved, without asking for the source.
void convertToCsv(AppState& window);

// One line of a space-separated file as CSV: commas (thousands separators) removed, the first 8
// characters kept as the date, every further blank made a comma, blanks at both ends and one
// trailing comma dropped. Nothing for a line of 20 characters or fewer.
std::optional<std::string> csvFromSpaceSeparated(std::string_view line);

}  // namespace aurelant
