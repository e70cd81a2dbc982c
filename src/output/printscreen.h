#pragma once

#include <string_view>

#include "platform/platform.h"

namespace aurelant {

class AppState;

// Print: the main screen's text at 8 points below a margin of six blank lines. Nothing happens
// while the screen is empty or idle; a printer's failure is reported, a cancel is not.
void printScreen(AppState& window);

// Prints the job with the lines of `text` (CR LF between them) after its own; a printer's
// failure is reported, a cancel is not.
void printText(AppState& window, PrintJob job, std::string_view text);

// Prints the job as it stands; a printer's failure is reported, a cancel is not.
void printJob(AppState& window, const PrintJob& job);

}  // namespace aurelant
