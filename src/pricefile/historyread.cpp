#include "pricefile/historyread.h"

#include <cstring>

#include "common/errors.h"
#include "common/textfile.h"
#include "import/recognition.h"
#include "pricefile/acceptance.h"

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

}  // namespace

HistoryInMemory readHistoryInMemory(const std::string& path, bool localeDayFirst) {
    HistoryInMemory history;
    history.text = wholeFile(path, history.refusal);
    if (!history.taken()) {
        return history;
    }
    Acceptance acceptance = acceptHistory(history.text, localeDayFirst);
    switch (acceptance.verdict) {
        case Verdict::Own:
            history.records = std::move(acceptance.records);
            history.prices = std::move(acceptance.prices);
            history.separator = acceptance.separator;
            break;
        case Verdict::Import:
            // As the import gives it: a file in another layout is read as its daily records.
            history.importedLines = import::dailyLines(*acceptance.recognition);
            history.records.assign(history.importedLines.begin(), history.importedLines.end());
            break;
        case Verdict::Refused:
            history.refusal = acceptance.refusalPhrase();
            break;
    }
    return history;
}

}  // namespace aurelant
