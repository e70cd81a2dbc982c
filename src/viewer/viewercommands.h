#pragma once

namespace aurelant {

class AppState;

// Display a File Saved as HTML: asks for the file and shows it in the viewer.
void displayHtmlFile(AppState& window);

// The home-page command: explains where price files can be had, then opens the viewer on the
// program's home page.
void showHomePage(AppState& window);

}  // namespace aurelant
