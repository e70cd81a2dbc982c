// Recognition of other layouts over any text: it never fails, and whatever days it gives are
// daily records in the program's own layout, oldest first, that the prediction reads.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "fuzzsupport.h"
#include "import/recognition.h"
#include "pricefile/historyformat.h"

using namespace aurelant;

namespace {

// As the prediction reads a record: at once when its prices are plain, else field by field.
bool readByThePrediction(const std::string& line) {
    if (plainRecord(line, ',')) {
        return true;
    }
    const std::optional<PriceRecord> record = splitRecord(line, ',');
    if (!record) {
        return false;
    }
    try {
        recordPrices(*record, 1);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const import::Overrides overrides :
         {import::Overrides{}, import::Overrides{true, false}}) {
        const import::Recognition recognition = import::recognise(text, overrides);
        if (!recognition.recognised()) {
            continue;
        }
        fuzz::require(recognition.days.size() >= import::kFewestDailyRecords &&
                          recognition.days.size() <= import::kMostDailyRecords,
                      "a recognised file gives a usable number of days");
        for (std::size_t index = 0; index < recognition.days.size(); ++index) {
            const std::string& line = recognition.days[index].line;
            fuzz::require(readByThePrediction(line), "a daily line is a record the run reads");
            fuzz::require(parseDate(line.substr(0, 10)) == recognition.days[index].date,
                          "a daily line's date reads back");
            fuzz::require(
                index == 0 || recognition.days[index - 1].date < recognition.days[index].date,
                "days run oldest first, each once");
        }
    }
    return 0;
}
