#include "pricefile/opencommand.h"

#include <optional>
#include <vector>

#include "common/errors.h"
#include "common/historylimits.h"
#include "common/textfile.h"
#include "common/utf8.h"
#include "import/description.h"
#include "pricefile/filetools.h"
#include "pricefile/historyformat.h"
#include "pricefile/importcommand.h"
#include "pricefile/layoutcheck.h"
#include "pricefile/normalisation.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

FileRequest openDialog(const std::string& initialName) {
    return openModeRequest("Open a File of Historic Price Data",
                           "Comma Separated Value Files(*.CSV)|*.csv|Text Files "
                           "(*.txt)|*.txt|Document Files (*.doc)|*.doc|Data Files "
                           "(*.dat)|*.dat|ASCII Delimited Files (*.asc)|*.asc|All Files (*.*)|*.*",
                           initialName);
}

constexpr const char* kOrderHint =
    "File should be in chronological order, with the oldest dates at the top, and the latest "
    "dates at the bottom. If it's not in this order, it will need to be reversed with the "
    "'Reverse' tool (in the 'Tools' menu) or the 'Reverse' icon.";

// The differences from the program's layout that the recognition of the whole file shows.
std::vector<import::Difference> recognisedDifferences(AppState& window, const std::string& path) {
    return import::checkPriceTable(readWholeFile(path), window.platform.datesDayFirst())
        .differences;
}

// Asks whether to import a file in another layout; runs the import on Yes.
bool importedOnRequest(AppState& window, const std::string& path,
                       const std::vector<import::Difference>& differences) {
    const bool yes = window.askYesNo(
        import::differenceSentence(differences.front()) +
            " Do you want to import it into a new file in this program's layout? This file "
            "itself stays as it is.",
        kProgramShortTitle);
    if (yes) {
        importPriceFileAt(window, path);
    }
    return yes;
}

std::string tooFewRecordsText(std::size_t count) {
    return "This file contains only " + std::to_string(count) +
           (count == 1 ? " record" : " records") +
           ". This is insufficient to carry out a prediction, and the file will not be opened.";
}

static_assert(kMostHistoryRecords == import::kMostDailyRecords,
              "an import gives what Open accepts");

// Records beyond the first 120, as the prediction counts them.
std::int16_t recordsBeyondPreview(std::size_t count) {
    return static_cast<std::int16_t>(count > kPreviewLimit ? count - kPreviewLimit : 0);
}

// The banner suggests Reverse only for a file whose dates run newest first. It never suggests
// Convert: a file that opens is comma- or TAB-separated, and one separated by blanks is offered
// the import.
void showOpenedFile(AppState& window, std::size_t count) {
    Globals& g = window.globals;
    g.fileopen = true;
    window.maintext.setText("Aurelant's Prices - File:" + upperCase(g.currentfile) + g.crlf +
                            std::to_string(count) + " records found" + g.crlf + g.crlf);
    g.displayfrom = recordsBeyondPreview(count);
    appendPreview(window.maintext, g.currentfile, count, g.crlf);
    g.suggestedfile = g.currentfile;
    if (runsNewestFirst(g.currentfile)) {
        window.infolabel.caption = kOrderHint;
    }
}

// Where the lines do not confirm the program's own layout and the recognition of the whole file
// finds another, asks whether to import the file. False when Open ends there, the file imported or
// left alone; otherwise `normalised` holds the file read again, to be opened as it stands.
bool goesOnAfterLayoutCheck(AppState& window, std::optional<Normalisation>& normalised) {
    if (normalised->ownLayoutConfirmed()) {
        return true;
    }
    Globals& g = window.globals;
    // No lock is held while the whole file is recognised and the user decides, so that Add
    // Latest and other programs can go on writing it.
    normalised.reset();
    const auto differences = recognisedDifferences(window, g.currentfile);
    if (differences.empty()) {
        normalised.emplace(g.currentfile);
        return true;
    }
    g.fileopen = false;
    window.caption = g.programtitle;
    const bool onlyNewestFirst = differences == std::vector{import::Difference::NewestFirst};
    if (importedOnRequest(window, g.currentfile, differences) || !onlyNewestFirst) {
        return false;
    }
    // The user knows better: the file opens as it stands.
    g.fileopen = true;
    window.caption = g.programtitle + " - " + g.currentfile;
    BusyPointer busy(window.platform);
    normalised.emplace(g.currentfile);
    return true;
}

// Checks, normalises and shows the chosen file, or refuses it with a message.
void openChosenFile(AppState& window) {
    Globals& g = window.globals;
    requireUserFile(g.currentfile, Access::Read);
    if (fileSize(g.currentfile) == 0) {
        window.showMessage(
            "The file you are attempting to open contains no data. Possibly a bad downloaded?");
        return;
    }
    if (!passesFormatCheck(g.currentfile)) {
        const auto differences = recognisedDifferences(window, g.currentfile);
        if (differences.empty()) {
            window.showMessage(
                "This file does not appear to contain valid OHLC data, and will not be opened.");
        } else {
            importedOnRequest(window, g.currentfile, differences);
        }
        return;
    }
    g.fileopen = true;
    g.lastfile = g.currentfile;
    window.caption = g.programtitle + " - " + g.currentfile;
    requireUserFile(g.currentfile, Access::ReadWrite);
    std::optional<Normalisation> normalised;
    {
        BusyPointer busy(window.platform);
        normalised.emplace(g.currentfile);
    }
    if (!goesOnAfterLayoutCheck(window, normalised)) {
        return;
    }
    const std::size_t count = normalised->count();
    if (count < kFewestRecords) {
        normalised.reset();
        window.showMessage(tooFewRecordsText(count));
        g.fileopen = false;
        window.caption = g.programtitle;
        return;
    }
    if (count > kMostHistoryRecords) {
        throw programError(Failure::TooManyRecords);
    }
    BusyPointer busy(window.platform);
    normalised->commit(kFewestRecords, kMostHistoryRecords);
    showOpenedFile(window, normalised->count());
}

// The steps after the file dialog.
void openPath(AppState& window, const std::string& path) {
    window.globals.currentfile = path;
    try {
        openChosenFile(window);
    } catch (const std::exception& exception) {
        window.globals.noconfidence = true;
        closeFileAfterError(window, asAppError(exception));
    }
}

}  // namespace

void openHistoryFile(AppState& window) {
    window.newFile();
    const auto chosen = window.platform.askFile(openDialog(window.globals.lastdialogfile));
    if (chosen) {
        openPath(window, *chosen);
    }
}

void openHistoryFileAt(AppState& window, const std::string& path) {
    window.newFile();
    openPath(window, path);
}

}  // namespace aurelant
