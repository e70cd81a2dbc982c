#include "pricefile/clipboardcommands.h"

#include <algorithm>

#include "common/textfile.h"
#include "output/screensave.h"
#include "pricefile/convertcommand.h"
#include "pricefile/reversecommand.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr Rgb kPastedTextBrown{128, 64, 64};
constexpr const char* kImportCaption = "Pasting New Information";

std::string selectedText(const MainScreen& screen) {
    const std::size_t start = std::min(screen.selectionStart, screen.text.size());
    return screen.text.substr(start, screen.selectionLength);
}

void putSelectionOnClipboard(AppState& window) {
    window.platform.clearClipboard();
    window.platform.setClipboardText(selectedText(window.maintext));
}

std::string reverseQuestion(const std::string& br) {
    return "Sometimes files obtained from the Internet are in reverse-chronological order." + br +
           br +
           "They SHOULD be in chronological order (LATEST dates at the BOTTOM of the screen, and "
           "OLDER dates at the TOP)." +
           br + br + "If this is still in reverse-chronological oder, you'll need to reverse it." +
           br + br + "Do you wish to reverse the chronological order of this file?";
}

// The screen keeps CR LF between lines; a clipboard may hold lone CRs or LFs too.
std::string withScreenLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            out += text[i];
            continue;
        }
        out += kLineEnd;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
    }
    return out;
}

// Leads the user from the saved file through its conversion to CSV and its reversal.
void offerConversionAndReversal(AppState& window) {
    Globals& g = window.globals;
    // A saved name without any "." has nothing to cut; the ending then follows the whole name.
    g.suggestedfile =
        derivedFileName(g.lastdialogfile, "2.csv").value_or(g.lastdialogfile + "2.csv");
    if (window.askYesNo(
            "Files which are Copied & Pasted from the Internet are sometimes in "
            "space-separated format. This program prefers the files in CSV format. Does "
            "this file require conversion from space-separation to CSV?",
            "Pasting Files")) {
        g.savechoice = "frompaste";
        convertToCsv(window);
    }
    if (window.askYesNo(reverseQuestion(g.crlf), kImportCaption)) {
        reverseFileOrder(window);
    }
}

}  // namespace

void copySelection(AppState& window) {
    putSelectionOnClipboard(window);
}

void cutSelection(AppState& window) {
    putSelectionOnClipboard(window);
    window.maintext.setText("");
}

void pasteFromClipboard(AppState& window) {
    window.maintext.style = {8, false, false, kPastedTextBrown};
    window.maintext.setText(withScreenLineEnds(window.platform.clipboardText().value_or("")));
    if (window.maintext.text.empty()) {
        return;
    }
    const bool saved = window.askYesNo(
                           "You have just pasted information onto the main screen of the "
                           "program. Do you wish to SAVE this data as a file?",
                           kImportCaption) &&
                       saveScreen(window);
    // After a cancelled or failed save the later steps would work on an earlier dialog's file.
    if (!saved) {
        return;  // the pasted text stays on the screen
    }
    offerConversionAndReversal(window);
    window.globals.lastdialogfile.clear();
}

}  // namespace aurelant
