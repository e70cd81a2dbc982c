#include "pricefile/historyread.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "common/textfile.h"
#include "import/recognition.h"
#include "pricefile/filetools.h"
#include "pricefile/historyformat.h"
#include "pricefile/layoutcheck.h"

namespace aurelant {
namespace {

constexpr std::size_t kFewestRecords = 5;
constexpr std::size_t kSampleLine = 4;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The whole of a regular file, or why it cannot be had.
std::string readWholeFile(const std::string& path, std::string& refusal) {
    // Not blocking on a FIFO; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        refusal = std::strerror(errno);
        return {};
    }
    std::string text;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        refusal = "not a regular file but a folder, a device or a pipe";
    } else if (const std::string tooLarge = sizeRefusal(static_cast<std::uintmax_t>(info.st_size));
               !tooLarge.empty()) {
        refusal = "the file is " + tooLarge;
    } else {
        text.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
            if (got <= 0) {
                refusal = got < 0 ? std::strerror(errno) : "the file shrank while it was read";
                break;
            }
            done += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    return text;
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

}  // namespace

std::vector<std::string_view> textLines(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        // A plain scan: find_first_of calls memchr on its set for every byte.
        std::size_t end = 0;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        const std::string_view line = text.substr(0, end);
        // Short lines after the sample line are no records and are never looked at: not kept, so
        // that a file of blank lines costs no more than its text.
        if (lines.size() < kSampleLine || !isShortLine(line)) {
            lines.push_back(line.size() > kLongestLine ? std::string_view() : line);
        }
        const bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        text.remove_prefix(std::min(text.size(), end + (crlf ? 2 : 1)));
    }
    return lines;
}

HistoryInMemory readHistoryInMemory(const std::string& path, bool localeDayFirst) {
    HistoryInMemory history;
    history.text = readWholeFile(path, history.refusal);
    if (!history.taken()) {
        return history;
    }
    const std::vector<std::string_view> lines = textLines(history.text);
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
