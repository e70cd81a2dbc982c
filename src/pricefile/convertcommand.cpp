#include "pricefile/convertcommand.h"

#include <algorithm>

#include "common/errors.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "common/utf8.h"
#include "platform/filerequests.h"
#include "pricefile/filetools.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr std::size_t kLongestDropped = 20;
constexpr std::size_t kDateLength = 8;
constexpr const char* kPasteMode = "frompaste";

FileRequest sourceDialog(const std::string& initialName) {
    return openModeRequest("Open a File of Space-Separated Historic Price Data",
                           "Document Files (*.doc)|*.doc|Text Files (*.txt)|*.txt|ASCII Delimited "
                           "Files (*.asc)|*.asc|Data Files (*.dat)|*.dat|All Files (*.*)|*.*",
                           initialName);
}

FileRequest outputDialog(const std::string& initialName) {
    return {.mode = FileRequest::Mode::Save,
            .title = "Select a File to Save Fixed-Up CSV Data",
            .filter = "CSV Files (*.csv)|*.csv|Text Files (*.txt)|*.txt|All Files (*.*)|*.*",
            .filterIndex = 1,
            .initialName = initialName,
            .defaultSuffix = ".csv",
            .overwritePrompt = true};
}

constexpr const char* kOrderHint =
    "Please check that the file is in chronological order, with the oldest dates at the top of "
    "the screen and the latest dates at the bottom. If it is not, reverse it with the 'Reverse' "
    "tool in the 'Tools' menu or the 'Reverse' icon on the toolbar.";

// Puts the source in `lastdialogfile` and the proposed output in `suggestedfile`; false when
// the user cancelled or no output name can be made from the source's.
bool chooseSource(AppState& window) {
    Globals& g = window.globals;
    if (g.savechoice == kPasteMode) {
        g.savechoice.clear();  // the paste import has set both names
        return true;
    }
    const auto source = window.platform.askFile(sourceDialog(g.currentfile));
    if (!source) {
        return false;
    }
    g.lastdialogfile = *source;
    const auto output = derivedFileName(*source, "2.csv");
    if (!output) {
        return false;
    }
    g.suggestedfile = *output;
    return true;
}

// Converts `source` into `output`, which takes its place only once it is whole; the converted
// lines appear on the screen as they are written.
void convertFile(AppState& window, const std::string& source, const std::string& output) {
    if (sameFile(source, output)) {
        throw programError(Failure::OutputIsSource);
    }
    requireUserFile(source, Access::Read);
    LineReader reader(source);
    writeUserFile(output, [&](LineWriter& writer) {
        window.maintext.setText("");
        std::string line;
        while (reader.next(line)) {
            if (const auto csv = csvFromSpaceSeparated(line)) {
                writer.writeLine(*csv);
                window.maintext.append(window.globals.crlf);
                window.maintext.append(*csv);
            }
        }
    });
    window.infolabel.caption = kOrderHint;
}

}  // namespace

std::optional<std::string> csvFromSpaceSeparated(std::string_view line) {
    if (characterCount(line) <= kLongestDropped) {
        return std::nullopt;
    }
    std::string text;
    std::copy_if(line.begin(), line.end(), std::back_inserter(text),
                 [](char c) { return c != ','; });
    const std::size_t dateEnd = characterPrefixLength(text, kDateLength);
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(dateEnd), text.end(), ' ', ',');
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.back() == ',') {
        text.pop_back();
    }
    return text;
}

void convertToCsv(AppState& window) {
    Globals& g = window.globals;
    window.newFile();
    if (!chooseSource(window)) {
        return;
    }
    const auto output = window.platform.askFile(outputDialog(g.suggestedfile));
    if (!output) {
        return;
    }
    g.suggestedfile = *output;
    try {
        BusyPointer busy(window.platform);
        convertFile(window, g.lastdialogfile, g.suggestedfile);
    } catch (const std::exception& exception) {
        window.showMessage(errorMessage(ErrorWording::Plain, asAppError(exception)));
    }
}

}  // namespace aurelant
