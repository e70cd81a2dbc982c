#pragma once

// The Edit menu's exchange of text between the main screen and the clipboard, and the import of
// a pasted price table as a file.
namespace aurelant {

class AppState;

// Copy: puts the main screen's selection (the empty text when none) on the clipboard.
void copySelection(AppState& window);

// Cut: puts the selection on the clipboard and empties the whole main screen.
void cutSelection(AppState& window);

// Paste: shows the clipboard's text on the main screen, then offers to save it as a file,
// convert that file to CSV and reverse its order.
void pasteFromClipboard(AppState& window);

}  // namespace aurelant
