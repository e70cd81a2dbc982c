#include "pricefile/historyread.h"

#include <cstring>

#include "common/errors.h"
#include "common/historylimits.h"
#include "common/lines.h"
#include "common/textfile.h"
#include "import/recognition.h"
#include "pricefile/historyformat.h"
#include "pricefile/layoutcheck.h"

namespace aurelant {
namespace {

// The whole of a regular file, or why it cannot be had.
std::string wholeFile(const std::string& path, std::string& refusal) {
    try {
        return readWholeFile(path);
    } catch (const AppError& error) {
        if (error.number() == notARegularFile(path).number()) {
            refusal = "not a regular file but a folder, a device or a pipe";
        } else if (error.number() == programError(Failure::FileTooLarge).number()) {
            refusal = "the file is " + sizeRefusal(kLargestFile + 1);
        } else {
            refusal = std::strerror(error.number());
        }
        return {};
    }
}

std::string refusalOf(const std::vector<std::string_view>& lines, std::size_t records) {
    if (lines.empty()) {
        return "the file contains no data";
    }
    if (!looksLikePriceData(lines[std::min(lines.size(), kSampleLine) - 1])) {
        return "the file does not appear to contain valid OHLC data";
    }
    if (records < kFewestRecords) {
        return "only " + std::to_string(records) + (records == 1 ? " record" : " records") +
               ", too few for a prediction";
    }
    if (records > kMostHistoryRecords) {
        return "more than " + std::to_string(kMostHistoryRecords) + " records";
    }
    return {};
}

// Takes the daily records that the import gives a file in another layout.
bool takenAsImported(HistoryInMemory& history, bool localeDayFirst) {
    const import::Recognition recognition =
        import::recognise(history.text, {std::nullopt, localeDayFirst});
    if (!recognition.recognised() || recognition.differences().empty()) {
        return false;
    }
    history.importedLines = import::dailyLines(recognition);
    history.records.assign(history.importedLines.begin(), history.importedLines.end());
    history.separator = ',';
    return true;
}

// The lines of the file as every reader takes them; of the short lines (blank lines, notes) only
// those among the first four, where the format check looks, so that a file of blank lines costs
// no more than its text.
std::vector<std::string_view> historyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineSplitter splitter(withoutByteOrderMark(text));
    for (std::string_view line; splitter.next(line);) {
        if (lines.size() < kSampleLine || !isShortLine(line)) {
            lines.push_back(line.size() > kLongestLine ? std::string_view() : line);
        }
    }
    return lines;
}

}  // namespace

HistoryInMemory readHistoryInMemory(const std::string& path, bool localeDayFirst) {
    HistoryInMemory history;
    history.text = wholeFile(path, history.refusal);
    if (!history.taken()) {
        return history;
    }
    const std::vector<std::string_view> lines = historyLines(history.text);
    LayoutCheck check;
    for (const std::string_view line : lines) {
        const bool shortLine = isShortLine(line);
        if (!shortLine && check.day(line)) {
            history.records.push_back(line);
        } else if (!shortLine && !isHeaderLine(line)) {
            check.otherRecord();
            history.records.push_back(line);
        }
    }
    // As Open asks to import a file that fails its format check or that its lines do not confirm
    // in the program's own layout, where the recognition of the whole file finds another.
    const bool formatPasses =
        !lines.empty() && looksLikePriceData(lines[std::min(lines.size(), kSampleLine) - 1]);
    if ((!formatPasses || !check.confirmed()) && takenAsImported(history, localeDayFirst)) {
        return history;
    }
    history.refusal = refusalOf(lines, history.records.size());
    if (!history.taken()) {
        return history;
    }
    const std::optional<char> separator = detectSeparator(history.records.front());
    if (!separator) {
        history.refusal = "the file contains neither TAB nor COMMA field separators";
        return history;
    }
    history.separator = *separator;
    return history;
}

}  // namespace aurelant
