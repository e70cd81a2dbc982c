// Recognition of price tables over any bytes, stage by stage: decoding gives valid UTF-8, the
// recognition never fails, whatever days it gives are daily records in the program's own layout,
// oldest first, that the prediction reads, under every choice the preview offers, each choice
// taken as made; and a content confirmed in the program's own layout is a recognised table
// without differences.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf8.h"
#include "fuzzsupport.h"
#include "import/importform.h"
#include "import/recognition.h"
#include "import/textdecoding.h"
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

void checkDays(const import::Recognition& recognition) {
    if (!recognition.recognised()) {
        return;
    }
    fuzz::require(
        recognition.days.size() >= kFewestRecords && recognition.days.size() <= kMostHistoryRecords,
        "a recognised file gives a usable number of days");
    for (std::size_t index = 0; index < recognition.days.size(); ++index) {
        const std::string& line = recognition.days[index].line;
        fuzz::require(readByThePrediction(line), "a daily line is a record the run reads");
        fuzz::require(parseDate(line.substr(0, 10)) == recognition.days[index].date,
                      "a daily line's date reads back");
        fuzz::require(index == 0 || recognition.days[index - 1].date < recognition.days[index].date,
                      "days run oldest first, each once");
    }
}

// The preview as the user drives it: every option it offers, each read back as chosen.
void choosePreviewOptions(import::ImportForm& form) {
    for (const ControlState& control : form.controls()) {
        if (!control.selected || !control.enabled || !form.choose(control.name)) {
            continue;
        }
        const import::Recognition& chosen = form.recognition();
        checkDays(chosen);
        const import::Evidence& evidence = chosen.evidence;
        if (control.name == import::ImportForm::kDayFirst ||
            control.name == import::ImportForm::kMonthFirst) {
            fuzz::require(!chosen.recognised() ||
                              evidence.dayFirst == (control.name == import::ImportForm::kDayFirst),
                          "the day order read is the one chosen");
        }
        const std::vector<ControlState> after = form.controls();
        const auto same = std::find_if(after.begin(), after.end(), [&](const ControlState& c) {
            return c.name == control.name;
        });
        fuzz::require(!chosen.recognised() || !same->enabled || same->selected == true,
                      "the option chosen shows as chosen");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const import::DecodedText decoded = import::decodeText(text);
    fuzz::require(!decoded.problem.empty() || isValidUtf8(decoded.text()),
                  "decoded text is valid UTF-8");
    import::ImportForm form(std::string(text), false);
    form.load();
    const import::Recognition first = form.recognition();
    checkDays(first);
    checkDays(import::recognise(text, {true, false}));
    choosePreviewOptions(form);
    const import::PriceTableCheck check = import::checkPriceTable(text, false);
    fuzz::require(check.priceTable == first.recognised() &&
                      check.ownLayout == (first.recognised() && first.differences().empty()),
                  "the check answers as the recognition");
    return 0;
}
