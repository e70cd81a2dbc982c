#pragma once

namespace aurelant {

class AppState;

// Save Data on Screen: writes the main screen's text, as displayed, to a file the user names.
// The chosen path is left in `lastdialogfile` (also when the write fails); nothing happens
// while the screen is empty or idle. True only when the text was written.
bool saveScreen(AppState& window);

}  // namespace aurelant
