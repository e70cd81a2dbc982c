#include "output/screensave.h"

#include "common/errors.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "platform/filerequests.h"
#include "state/appstate.h"

namespace aurelant {

bool saveScreen(AppState& window) {
    Globals& g = window.globals;
    const std::string& text = window.maintext.text;
    if (text.empty() || text == g.datapaneltext) {
        return false;
    }
    const auto chosen = window.askSaveTarget(saveModeRequest(
        "Select File for Information on Screen",
        "Document File (*.doc)|*.doc|Comma Separated Value Files (*.csv)|*.csv|Text File "
        "(*.txt)|*.txt|All Files (*.*)|*.*",
        "", "doc"));
    if (!chosen) {
        return false;
    }
    g.lastdialogfile = *chosen;
    try {
        writeUserFile(*chosen, [&text](LineWriter& writer) { writer.writeLine(text); });
    } catch (const AppError& error) {
        window.showMessage(errorMessage(ErrorWording::Plain, error));
        return false;
    }
    g.lastfile = *chosen;
    return true;
}

}  // namespace aurelant
