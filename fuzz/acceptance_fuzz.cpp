// Open's reading and the in-memory reading behind the command-line prediction and the watchlist
// take and refuse the same files: a file that Open opens, or offers to import, is one the other
// reading takes, and the other way round. A file that Open opens without a question is one the
// recognition confirms in the program's own layout, and one the prediction then reads, with as
// many days as before Open rewrote it.
#include "fuzzsupport.h"
#include "import/recognition.h"
#include "predict/fileprediction.h"
#include "pricefile/historyread.h"

using namespace aurelant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzSession& session = fuzz::session();
    session.writeInput(data, size);
    Aurelant& window = session.windowWithInputOpen();
    const bool dayFirst = window.platform.datesDayFirst();
    const bool taken = readHistoryInMemory(session.inputPath(), dayFirst).taken();
    const FilePrediction before =
        predictHistoryFile(session.inputPath(), std::nullopt, "\r\n", dayFirst);
    fuzz::FuzzPlatform& platform = session.platform();
    platform.answerNo = true;
    window.click("open");
    const bool asked = platform.questions > 0;
    fuzz::require((window.globals.fileopen || asked) == taken,
                  "Open and the in-memory reading accept and refuse alike");
    if (window.globals.fileopen && !asked) {
        const std::string_view bytes(reinterpret_cast<const char*>(data), size);
        fuzz::require(import::checkPriceTable(bytes, dayFirst).ownLayout,
                      "Open opens without a question only what the recognition confirms");
        const FilePrediction after =
            predictHistoryFile(session.inputPath(), std::nullopt, "\r\n", dayFirst);
        fuzz::require(!after.refused(), "a file that Open opens is predicted");
        fuzz::require(after.records == before.records, "Open's rewrite keeps the file's days");
    }
    return 0;
}
