#include "repredict/repredictionreport.h"

#include <optional>

#include "common/errors.h"
#include "common/htmltext.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "common/utf8.h"
#include "output/printscreen.h"
#include "output/saveasform.h"
#include "platform/filerequests.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr const char* kReportCaption = "AurelantsPrice Re-Prediction";
constexpr const char* kSaveCaption = "Re=Prediction";
constexpr const char* kSaveQuestion = "Do you wish to SAVE this re-prediction to a file?";
constexpr const char* kHeading = "RE-PREDICTION: ";
// In the program's folder; kept after the save, replaced by the next one.
constexpr const char* kWorkingFile = "/repredict.tmp";
constexpr const char* kPageStart[] = {
    "<!doctype html public '-//w3c//dtd html 3.2//en'>",
    "<html>",
    "<head>",
    "<title>Aurelant's Prices: Re-Prediction</title>",
    "</head>",
    "<body bgcolor='#ffffff' text='#000000'>",
};

// A failure is reported; the save question follows all the same.
void printReprediction(AppState& window, const std::string& fileName, const std::string& text) {
    PrintJob job;
    job.lines.assign(6, "");
    job.lines.push_back(kHeading + fileName);
    job.lines.push_back("");
    printText(window, std::move(job), text);
}

using Copy = void (*)(LineReader& workingFile, LineWriter& target, const std::string& heading);

void copyAsDocument(LineReader& workingFile, LineWriter& target, const std::string& fileName) {
    target.writeLine(kHeading + fileName);
    target.writeLine("");
    std::string line;
    while (workingFile.next(line)) {
        target.writeLine(line);
    }
}

// The page names the file being written; text and name are escaped, so that they show as
// they are and never as markup.
void copyAsHtml(LineReader& workingFile, LineWriter& target, const std::string& targetName) {
    for (const char* line : kPageStart) {
        target.writeLine(line);
    }
    target.writeLine("<center><h2>Aurelant's Prices: Re-Prediction</h2><br>" +
                     escapedHtml(targetName) + "</center><br>");
    std::string line;
    while (workingFile.next(line)) {
        target.writeLine(escapedHtml(line));
        target.writeLine("<br>");
    }
    target.writeLine("</body>");
    target.writeLine("</html>");
}

struct SaveKind {
    FileRequest request;
    Copy copy;
    bool namesTarget;  // the heading names the file written, not the history file
};

// The kind of copy that the save-as dialog's choice asks for; nothing for any other choice.
std::optional<SaveKind> chosenKind(const Globals& globals) {
    if (globals.savechoice == "doc") {
        return SaveKind{
            saveModeRequest("Select Document File for Prediction Data",
                            "Document Files (*.doc)|*.doc|All Files (*.*)|*.*", "", "txt"),
            copyAsDocument, false};
    }
    if (globals.savechoice == "html") {
        return SaveKind{
            saveModeRequest(
                "Select HTML File for Prediction Data",
                "HTML Files (*.htm)|*.htm|HTML Files (*.html)|*.html|All Files (*.*)|*.*",
                derivedFileName(globals.currentfile, ".htm").value_or("htm"), "htm"),
            copyAsHtml, true};
    }
    return std::nullopt;
}

// A fresh file in the working file's place, whatever stood there before.
void writeWorkingFile(const std::string& path, const std::string& text) {
    LineWriter writer(path);
    writer.writeLine(text);
    writer.close();
}

// Through the working file and the save-as dialog into a document or an HTML page. The copy
// replaces its target whole or not at all.
void saveReprediction(AppState& window, const std::string& fileName, const std::string& text) {
    Globals& globals = window.globals;
    const std::string workingFile = window.platform.programFolder() + kWorkingFile;
    try {
        writeWorkingFile(workingFile, text);
    } catch (const AppError& error) {
        window.showMessage(errorMessage(ErrorWording::Plain, error));
        return;
    }
    globals.savechoice = "repredict";
    showSaveAsForm(window);
    const std::optional<SaveKind> kind = chosenKind(globals);
    if (!kind) {
        globals.savechoice.clear();
        return;
    }
    const std::optional<std::string> target = window.askSaveTarget(kind->request);
    if (!target) {
        return;
    }
    globals.lastfile = *target;
    try {
        LineReader reader(workingFile);
        const std::string heading = kind->namesTarget ? shownFileName(*target) : fileName;
        writeUserFile(*target, [&](LineWriter& writer) { kind->copy(reader, writer, heading); });
    } catch (const AppError& error) {
        window.showMessage(errorMessage(ErrorWording::Plain, error));
        return;
    }
    globals.savechoice.clear();
}

}  // namespace

void presentReprediction(AppState& window, const std::string& text) {
    Globals& globals = window.globals;
    const std::string fileName = shownFileName(globals.currentfile);
    const std::string& crlf = globals.crlf;
    if (window.askYesNo(fileName + crlf + crlf + text + crlf + crlf + "Print this?",
                        kReportCaption)) {
        printReprediction(window, fileName, text);
    }
    if (!window.askYesNo(kSaveQuestion, kSaveCaption)) {
        globals.savechoice.clear();
        return;
    }
    saveReprediction(window, fileName, text);
}

}  // namespace aurelant
