#include "pricefile/opencommand.h"

#include <optional>
#include <vector>

#include "common/errors.h"
#include "common/historylimits.h"
#include "common/textfile.h"
#include "common/utf8.h"
#include "import/description.h"
#include "pricefile/acceptance.h"
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
constexpr const char* kNotPriceData =
    "This file does not appear to contain valid OHLC data, and will not be opened.";

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

// Records beyond the first 120, as the prediction counts them.
std::int16_t recordsBeyondPreview(std::size_t count) {
    return static_cast<std::int16_t>(count > kPreviewLimit ? count - kPreviewLimit : 0);
}

// The banner suggests Reverse only for a file whose dates run newest first. It never suggests
// Convert: a file that opens is comma- or TAB-separated, and one separated by blanks is offered
// the import.
void showOpenedFile(AppState& window, const std::vector<std::string_view>& records) {
    Globals& g = window.globals;
    const std::size_t count = records.size();
    g.fileopen = true;
    window.maintext.setText("Aurelant's Prices - File:" + upperCase(g.currentfile) + g.crlf +
                            std::to_string(count) + " records found" + g.crlf + g.crlf);
    g.displayfrom = recordsBeyondPreview(count);
    appendPreview(window.maintext, records, g.crlf);
    g.suggestedfile = g.currentfile;
    if (runsNewestFirst(g.currentfile)) {
        window.infolabel.caption = kOrderHint;
    }
}

// Refuses a file with a message that names the problem, or the error that names it; the file
// stays as it is.
void refuseFile(AppState& window, const Acceptance& acceptance) {
    Globals& g = window.globals;
    switch (acceptance.refusal) {
        case Refusal::TooMany:
            throw programError(Failure::TooManyRecords);
        case Refusal::LongLine:
            throw lineTooLong(g.currentfile);
        case Refusal::BadRecord:
            throw *acceptance.recordError;
        case Refusal::TooFew:
            window.showMessage(tooFewRecordsText(acceptance.recordCount));
            break;
        case Refusal::NotATable:
            window.showMessage(
                "This file is not a table of daily prices, and will not be opened. " +
                acceptance.recognition->problem);
            break;
        default:
            window.showMessage(kNotPriceData);
            break;
    }
    g.fileopen = false;
    window.caption = g.programtitle;
}

// Where the file is not in the program's own layout: asks whether to import a table in another
// layout, or refuses the file. False when Open ends there, the file imported or left alone;
// otherwise `normalised` holds the file read again, to be opened as it stands.
bool goesOnAfterLayoutCheck(AppState& window, std::optional<Normalisation>& normalised) {
    const Acceptance& acceptance = normalised->acceptance();
    if (acceptance.verdict == Verdict::Own) {
        return true;
    }
    if (acceptance.verdict == Verdict::Refused) {
        const Acceptance refused = acceptance;
        normalised.reset();
        refuseFile(window, refused);
        return false;
    }
    Globals& g = window.globals;
    const auto differences = acceptance.differences();
    // No lock is held while the user decides, so that Add Latest and other programs can go on
    // writing the file.
    normalised.reset();
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
    normalised.emplace(g.currentfile, window.platform.datesDayFirst());
    if (normalised->acceptance().verdict == Verdict::Refused) {
        const Acceptance refused = normalised->acceptance();
        normalised.reset();
        refuseFile(window, refused);
        return false;
    }
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
    std::optional<Normalisation> normalised;
    {
        BusyPointer busy(window.platform);
        normalised.emplace(g.currentfile, window.platform.datesDayFirst());
    }
    if (!normalised->acceptance().formatPasses) {
        const auto differences = normalised->acceptance().differences();
        normalised.reset();
        if (differences.empty()) {
            window.showMessage(kNotPriceData);
        } else {
            importedOnRequest(window, g.currentfile, differences);
        }
        return;
    }
    g.fileopen = true;
    g.lastfile = g.currentfile;
    window.caption = g.programtitle + " - " + g.currentfile;
    requireUserFile(g.currentfile, Access::ReadWrite);
    if (!goesOnAfterLayoutCheck(window, normalised)) {
        return;
    }
    const std::size_t count = normalised->count();
    if (count < kFewestRecords || count > kMostHistoryRecords) {
        Acceptance refused = normalised->acceptance();  // a file opened as it stands
        refused.refusal = count < kFewestRecords ? Refusal::TooFew : Refusal::TooMany;
        normalised.reset();
        refuseFile(window, refused);
        return;
    }
    BusyPointer busy(window.platform);
    normalised->commit(kFewestRecords, kMostHistoryRecords);
    showOpenedFile(window, normalised->acceptance().records);
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
