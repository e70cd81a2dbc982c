#pragma once

#include <optional>
#include <string>

namespace aurelant {

// The last line of a history file that reads as a record (splitRecord), found from the end of
// the file without reading the rest; nothing when no line does, or for a file that is not a
// regular file (whose reading fails elsewhere with a message).
std::optional<std::string> latestRecordLine(const std::string& path, char separator);

// The decimals to which price levels are cut for this file: those of its latest Close
// (priceDecimals), 2 without one.
int levelDecimals(const std::string& path, char separator);

}  // namespace aurelant
