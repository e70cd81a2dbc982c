#include "pricefile/reversecommand.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "common/errors.h"
#include "common/textfile.h"
#include "common/utf8.h"
#include "import/description.h"
#include "pricefile/acceptance.h"
#include "pricefile/filetools.h"
#include "pricefile/historyformat.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

// Lines of this length or shorter are notes or blank lines, unless they hold a record's four
// separators.
constexpr std::size_t kLongestNonRecord = 21;
constexpr std::size_t kMostRecords = 1000;

FileRequest reverseDialog(const std::string& initialName) {
    return openModeRequest(
        "Reverse the Order of a File of Historic Price Data",
        "Comma Separated Value Files(*.CSV)|*.csv|Text Files (*.txt)|*.txt|ASCII Delimited Files "
        "(*.asc)|*.asc|Data Files (*.dat)|*.dat|Document Files (*.doc)|*.doc|All Files (*.*)|*.*",
        initialName);
}

constexpr const char* kNotPriceData =
    "This file does not appear to contain valid OHLC data, and will not be reversed.";
constexpr const char* kOrderHint =
    "File should now be in chronological order, with the oldest dates at the top, and the "
    "latest dates at the bottom. If it's not in this order, it will need to be reversed with "
    "the 'Reverse' tool (in the 'Tools' menu) or the 'Reverse' icon.";

bool isRecord(std::string_view line) {
    return characterCount(line) > kLongestNonRecord || hasFourSeparators(line, ',') ||
           hasFourSeparators(line, '\t');
}

// A line above the days that stays above them: a header in any words, or a title, whose prices
// do not read as a day's.
bool isHeading(std::string_view line) {
    const std::optional<char> separator = detectSeparator(line);
    return isHeaderLine(line) || !separator || !readablePrices(line, *separator);
}

// Keeps the file's records in `lines` from index 1 on, in the order Reverse writes them: the
// header lines above the days where they stand, the days in reverse order; nothing when there are
// too many.
std::optional<std::size_t> readReversed(const std::string& path,
                                        std::array<std::string, kMostRecords + 1>& lines) {
    LineReader reader(path, LongLines::Refuse);
    std::size_t count = 0;
    std::size_t headers = 0;
    std::string line;
    while (reader.next(line)) {
        if (!isRecord(line)) {
            continue;
        }
        if (++count > kMostRecords) {
            return std::nullopt;
        }
        const bool heading = !isShortLine(line) && isHeading(line);
        headers += count == headers + 1 && heading ? 1 : 0;
        lines[count] = line;
    }
    std::reverse(lines.begin() + 1 + static_cast<std::ptrdiff_t>(headers),
                 lines.begin() + 1 + static_cast<std::ptrdiff_t>(count));
    return count;
}

// Replaces the file read as `read` by `lines` from 1 to `count`, unless it changed since.
void writeReversed(const std::string& path, const std::array<std::string, kMostRecords + 1>& lines,
                   std::size_t count, FileLock& lock, const FileStamp& read) {
    requireUserFile(path, Access::Write);
    FileReplacement replacement(path);
    for (std::size_t index = 1; index <= count; ++index) {
        replacement.writer().writeLine(lines[index]);
    }
    if (!replacement.commit(read)) {
        throw programError(Failure::FileInUse, "File in use: " + path +
                                                   " changed while it was being reversed; it has "
                                                   "not been changed. Reverse it again when no "
                                                   "other program is writing it");
    }
    handOverToReplacement(lock, read, path);
}

void showReversedFile(AppState& window, std::size_t count) {
    Globals& g = window.globals;
    g.fileopen = false;
    g.lastfile = g.currentfile;
    const std::string shownPath = upperCase(g.currentfile);
    window.maintext.setText("The order of file " + shownPath + " has been REVERSED." + g.crlf +
                            g.crlf);
    window.caption = g.programtitle + " - " + shownPath;
    const std::vector<std::string_view> reversed(
        g.reverselines.begin() + 1,
        g.reverselines.begin() + 1 + static_cast<std::ptrdiff_t>(count));
    appendPreview(window.maintext, reversed, g.crlf);
    g.lastdialogfile = g.currentfile;
    window.infolabel.caption = kOrderHint;
}

// Why Open's check refuses to take the file as a price table in the program's layout, newest
// first or not; empty when it takes it. Too few or too many records for a prediction do not keep
// a file from being reversed.
std::string layoutRefusal(AppState& window, const std::string& path) {
    const Acceptance acceptance =
        acceptHistory(readWholeFile(path), window.platform.datesDayFirst());
    const auto differences = acceptance.differences();
    if (!acceptance.formatPasses) {
        return kNotPriceData;
    }
    switch (acceptance.refusal) {
        case Refusal::LongLine:
            throw lineTooLong(path);
        case Refusal::BadRecord:
            throw *acceptance.recordError;  // as Open refuses it; the file stays as it is
        case Refusal::NotATable:
            return "This file is not a table of daily prices, and will not be reversed. " +
                   acceptance.recognition->problem;
        case Refusal::TooFew:
        case Refusal::TooMany:
            if (acceptance.layoutConfirmed) {
                return {};
            }
            break;
        default:
            break;
    }
    if (acceptance.verdict == Verdict::Own ||
        differences == std::vector{import::Difference::NewestFirst}) {
        return {};
    }
    if (!differences.empty()) {
        return import::differenceSentence(differences.front()) +
               " File > Import reads it into a new file in this program's layout; this file will "
               "not be reversed.";
    }
    return kNotPriceData;
}

// Why the file is not reversed; empty when its `count` records are in `lines`.
std::string refusalOf(AppState& window, const std::string& path,
                      std::array<std::string, kMostRecords + 1>& lines, std::size_t& count) {
    if (std::string refusal = layoutRefusal(window, path); !refusal.empty()) {
        return refusal;
    }
    const std::optional<std::size_t> records = readReversed(path, lines);
    if (!records) {
        return "Sorry, you cannot reverse files containing more than 1,000 records.";
    }
    count = *records;
    return {};
}

// Reverses the chosen file and shows it, or refuses a file that fails Open's format check or has
// too many records, leaving it as it was. Holds the file's lock from the reading to the
// replacement, as Open does, so that Add Latest waits; none while a message is shown.
void reverseChosenFile(AppState& window) {
    Globals& g = window.globals;
    std::size_t count = 0;
    std::string refusal;
    std::optional<FileLock> lock;
    FileStamp read;
    {
        BusyPointer busy(window.platform);
        requireUserFile(g.currentfile, Access::Read);
        lock.emplace(g.currentfile);
        read = fileStamp(g.currentfile);
        refusal = refusalOf(window, g.currentfile, g.reverselines, count);
    }
    if (!refusal.empty()) {
        lock.reset();
        window.showMessage(refusal);
        return;
    }
    BusyPointer busy(window.platform);
    writeReversed(g.currentfile, g.reverselines, count, *lock, read);
    lock.reset();
    showReversedFile(window, count);
}

}  // namespace

void reverseFileOrder(AppState& window) {
    Globals& g = window.globals;
    window.cls();
    window.caption = g.programtitle;
    const auto chosen = window.platform.askFile(reverseDialog(g.suggestedfile));
    if (!chosen) {
        return;
    }
    g.currentfile = *chosen;
    g.fileopen = false;
    window.caption.clear();
    try {
        reverseChosenFile(window);
    } catch (const std::exception& exception) {
        closeFileAfterError(window, asAppError(exception));
    }
}

}  // namespace aurelant
