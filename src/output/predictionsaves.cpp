#include "output/predictionsaves.h"

#include <algorithm>
#include <filesystem>

#include "common/errors.h"
#include "common/htmltext.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "platform/filerequests.h"
#include "state/appstate.h"
#include "state/workingfiles.h"

namespace aurelant {
namespace {

constexpr const char* kPageStart[] = {
    "<!doctype html public '-//w3c//dtd html 3.2//en'>",
    "<html><head><title>AurelantsPrices Predictions</title></head>",
    "<body bgcolor='#ffffff' text='#400080'>",
    "<center><h2>AurelantsPrice Predictions</h2><br><table border=1><tr><td>",
};
// Closes the bordered table of the back-test before the first summary line.
constexpr const char* kSummaryStart = "</td></tr></table></center><table><tr><td>";
constexpr const char* kPageEnd = "</td></tr></table></body></html>";
constexpr const char* kMissingAfterText = "The file of data from your last prediction is missing";

using Body = void (*)(LineReader&, LineWriter&);

struct SaveFormat {
    FileRequest request;
    const char* missingMessage;
    bool busy;
    Body body;
};

void writeText(LineReader& reader, LineWriter& writer) {
    std::string line;
    while (reader.next(line)) {
        writer.writeLine(line);
    }
}

void writeCsv(LineReader& reader, LineWriter& writer) {
    std::string line;
    while (reader.next(line)) {
        std::replace(line.begin(), line.end(), '\t', ',');
        writer.writeLine(line);
    }
}

void writeHtml(LineReader& reader, LineWriter& writer) {
    for (const char* line : kPageStart) {
        writer.writeLine(line);
    }
    bool tableClosed = false;
    std::string line;
    std::string row;
    while (reader.next(line)) {
        if (!tableClosed && line.find('\t') == std::string::npos) {
            writer.writeLine(kSummaryStart);
            tableClosed = true;
        }
        row.clear();
        appendHtmlRow(row, line);
        writer.writeLine(row);
    }
    writer.writeLine(kPageEnd);
}

// Copies the data file into the target in the format's way; false after a failure, which has
// been reported.
bool saveDataFile(AppState& window, const SaveFormat& format, const std::string& target) {
    const std::string dataFile = window.platform.programFolder() + kPredictionDataFile;
    std::error_code unknown;
    if (!std::filesystem::exists(dataFile, unknown)) {
        window.showMessage(format.missingMessage);
        return false;
    }
    try {
        std::optional<BusyPointer> busy;
        if (format.busy) {
            busy.emplace(window.platform);
        }
        LineReader reader(dataFile);
        writeUserFile(target, [&](LineWriter& writer) { format.body(reader, writer); });
        window.globals.lastfile = target;
    } catch (const AppError& error) {
        window.showMessage(errorMessage(ErrorWording::NumberColon, error));
        return false;
    }
    return true;
}

// The chosen target, or nothing when there is no prediction or the user cancelled.
std::optional<std::string> chooseTarget(AppState& window, const FileRequest& request) {
    if (!window.globals.predictiondone) {
        window.showMessage("You must first carry out a prediction");
        return std::nullopt;
    }
    return window.askSaveTarget(request);
}

void savePrediction(AppState& window, const SaveFormat& format) {
    if (const auto target = chooseTarget(window, format.request)) {
        saveDataFile(window, format, *target);
    }
}

}  // namespace

void appendHtmlRow(std::string& html, std::string_view line) {
    appendReplaced(html, line, [](char c) -> std::string_view {
        if (c == '\t') {
            return "</td><td>";
        }
        return c == ' ' ? "&nbsp;" : htmlEntity(c);
    });
    html += "</td></tr><tr><td>";
}

void saveAsText(AppState& window) {
    savePrediction(
        window,
        {saveModeRequest("Select Text File for Prediction Data",
                         "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "", ".txt"),
         "The file created when you last carried out a prediction is missing", false, writeText});
}

void saveAsCsv(AppState& window) {
    savePrediction(window, {saveModeRequest("Select CSV File for Prediction Data",
                                            "Comma Separated Value Files (*.csv)|*.csv|All Files "
                                            "(*.*)|*.*",
                                            "", ".csv"),
                            kMissingAfterText, true, writeCsv});
}

void saveAsHtml(AppState& window) {
    Globals& g = window.globals;
    const SaveFormat format{
        saveModeRequest("Select Text File for Prediction Data",
                        "HTM Files (*.htm)|*.htm|HTML Files (*.html)|*.html|All Files (*.*)|*.*",
                        derivedFileName(g.currentfile, ".htm").value_or("htm"), ".htm"),
        kMissingAfterText, true, writeHtml};
    const auto target = chooseTarget(window, format.request);
    if (!target || !saveDataFile(window, format, *target)) {
        return;
    }
    if (window.askYesNo("Would you like to view the HTML file you've just created?",
                        "Saving as HTML")) {
        g.vieweraddress = *target;
        window.platform.showViewer();
    }
}

}  // namespace aurelant
