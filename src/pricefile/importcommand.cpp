#include "pricefile/importcommand.h"

#include "common/errors.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "import/importform.h"
#include "platform/filerequests.h"
#include "pricefile/filetools.h"
#include "pricefile/opencommand.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

FileRequest sourceDialog(const std::string& initialName) {
    return openModeRequest("Import a Price File",
                           "Comma Separated Value Files(*.CSV)|*.csv|Text Files (*.txt)|*.txt|All "
                           "Files (*.*)|*.*",
                           initialName);
}

// "/data/prices.csv" -> "/data/prices-daily.csv".
std::string dailyFileName(const std::string& source) {
    const std::size_t folderEnd = source.find_last_of('/');
    const std::size_t dot = source.find_last_of('.');
    const bool hasSuffix =
        dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd + 1);
    return source.substr(0, hasSuffix ? dot : std::string::npos) + "-daily.csv";
}

// The target the user names for the daily records; nothing when cancelled.
std::optional<std::string> chooseTarget(AppState& window, const std::string& source) {
    return window.platform.askFile(
        saveModeRequest("Save the Imported Prices As",
                        "Comma Separated Value Files(*.CSV)|*.csv|All Files (*.*)|*.*",
                        dailyFileName(source), "csv"));
}

// The preview, then the target; true once the daily records are written into `target`.
bool importInto(AppState& window, const std::string& source, std::string& target) {
    requireUserFile(source, Access::Read);
    import::ImportForm form(readWholeFile(source), window.platform.datesDayFirst());
    {
        BusyPointer busy(window.platform);
        form.load();
    }
    if (!form.recognition().recognised()) {
        window.showMessage(form.recognition().problem + " Nothing was imported.");
        return false;
    }
    window.platform.showModal(form);
    if (!form.accepted()) {
        return false;
    }
    const std::optional<std::string> chosen = chooseTarget(window, source);
    if (!chosen) {
        return false;
    }
    if (*chosen == source || sameFile(*chosen, source)) {
        throw programError(Failure::OutputIsSource);
    }
    target = *chosen;
    BusyPointer busy(window.platform);
    writeDailyRecords(target, form.recognition());
    return true;
}

}  // namespace

void writeDailyRecords(const std::string& target, const import::Recognition& recognition) {
    writeUserFile(target, [&](LineWriter& writer) {
        for (const import::DailyBar& bar : recognition.days) {
            writer.writeLine(bar.line);
        }
    });
}

void importPriceFile(AppState& window) {
    // In the folder of the last price file opened or made, with no file of another kind chosen.
    const std::string& lastPriceFile = window.globals.suggestedfile;
    const std::size_t folderEnd = lastPriceFile.find_last_of('/');
    const auto source = window.platform.askFile(
        sourceDialog(folderEnd == std::string::npos ? "" : lastPriceFile.substr(0, folderEnd + 1)));
    if (source) {
        importPriceFileAt(window, *source);
    }
}

void importPriceFileAt(AppState& window, const std::string& source) {
    std::string target;
    try {
        if (!importInto(window, source, target)) {
            return;
        }
    } catch (const std::exception& exception) {
        window.showMessage(errorMessage(ErrorWording::Plain, asAppError(exception)));
        return;
    }
    openHistoryFileAt(window, target);
}

}  // namespace aurelant
