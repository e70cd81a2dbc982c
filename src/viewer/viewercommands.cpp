#include "viewer/viewercommands.h"

#include "common/utf8.h"
#include "platform/filerequests.h"
#include "state/appstate.h"
#include "viewer/browserengine.h"

namespace aurelant {

void displayHtmlFile(AppState& window) {
    Globals& g = window.globals;
    const bool savedAsHtml = upperCase(g.lastfile).find(".HTM") != std::string::npos;
    const auto chosen = window.platform.askFile(
        openModeRequest("Open an HTML File",
                        "HTML Files(*.htm)|*.htm|HTML Files (*.html)|*.html|All Files (*.*)|*.*",
                        savedAsHtml ? g.lastfile : ""));
    if (!chosen) {
        return;
    }
    g.vieweraddress = *chosen;
    window.platform.showViewer();
}

void showHomePage(AppState& window) {
    Globals& g = window.globals;
    window.cls();
    const std::string paragraphBreak = g.crlf + g.crlf;
    window.showMessage(
        "You can access quotes and files of Open, High, Low and Close data by following the link "
        "to the 'Charts' page on the AurelantsPrices home page. Click 'Okay' to continue to "
        "AurelantsPrices home page." +
        paragraphBreak +
        "Files from many quotes services list the latest date at the top. This program requires "
        "the earliest date at the top and the latest date at the bottom. You can reverse the "
        "order either in a spreadsheet program (by sorting the Date column in ascending order) "
        "or with the 'Reverse' tool in the 'Tools' menu of this program." +
        paragraphBreak +
        "This program accepts data in either 'comma-separated' (CSV) or tab-separated (TXT) "
        "formats. You may also use 'Copy & Paste' to copy a file to the program, although these "
        "will often need converting to CSV (in 'Tools' menu)" +
        paragraphBreak +
        "All that's required is a file which contains at least the Date, Open, High, Low  and "
        "Close fields (in that order) on each record.");
    g.vieweraddress = kHomePageAddress;
    window.platform.showViewer();
}

}  // namespace aurelant
