#pragma once

#include <string>

namespace aurelant {

class AppState;
namespace import {
struct Recognition;
}

// File > Import a Price File: asks for a file in another layout, shows what the recognition
// made of it, writes its daily records into a new file in the program's layout and opens that.
void importPriceFile(AppState& window);

// The same after the source is chosen (Open offers it for a file in another layout).
void importPriceFileAt(AppState& window, const std::string& source);

// Writes the daily records of a recognised file into `target`, whole or not at all.
void writeDailyRecords(const std::string& target, const import::Recognition& recognition);

}  // namespace aurelant
