#pragma once

#include <string>

namespace aurelant {

class AppState;

// The Open command: asks for a history file, checks it, rewrites it without header and short
// lines, and shows it on the main screen as the open file.
void openHistoryFile(AppState& window);

// The same command for a file chosen outside the dialog (the command line, a drop, the recent
// files): New, then every step that follows the dialog.
void openHistoryFileAt(AppState& window, const std::string& path);

}  // namespace aurelant
