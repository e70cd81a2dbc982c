// The five-day panel over any file and any typed day: its load in each mode, Save's checks and
// Predict's. The first input line holds the four typed prices separated by "|"; the rest is the
// history file. Whatever Save appends must be a record of four possible prices.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fiveday/dailydata.h"
#include "fuzzsupport.h"
#include "pricefile/historyformat.h"

using namespace aurelant;

namespace {

void typeDayFive(DailyData& panel, std::string_view typed) {
    for (int field = 1; field <= 4 && !typed.empty(); ++field) {
        const std::size_t end = std::min(typed.find('|'), typed.size());
        panel.setText(DailyData::boxName(5, field), std::string(typed.substr(0, end)));
        typed.remove_prefix(std::min(end + 1, typed.size()));
    }
}

void checkAppendedRecord(const std::string& before, const std::string& after, char separator) {
    if (after == before) {
        return;
    }
    std::string_view added(after);
    added.remove_prefix(before.size());
    while (!added.empty() && (added.front() == '\r' || added.front() == '\n')) {
        added.remove_prefix(1);
    }
    fuzz::require(added.size() >= 2 && added.substr(added.size() - 2) == "\r\n",
                  "Save appends one whole line");
    added.remove_suffix(2);
    const auto record = splitRecord(added, separator);
    fuzz::require(record.has_value(), "Save appends a record");
    const auto prices = recordPrices(*record, 1);  // throws, and so stops, for a bad price
    fuzz::require(prices[2] <= prices[1], "the saved Low is not above the High");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    const std::string_view typed = input.substr(0, lineEnd);
    const std::string_view file = input.substr(std::min(lineEnd + 1, input.size()));
    fuzz::FuzzSession& session = fuzz::session();
    session.writeInput(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    Aurelant& window = session.windowWithInputOpen();
    const int mode = typed.empty() ? 0 : static_cast<unsigned char>(typed.front()) % 3;
    window.globals.viewdatamode = mode == 0;
    window.globals.addlatestmode = mode == 1;
    window.globals.movementmode = mode == 2;
    DailyData panel(window);
    panel.load();
    typeDayFive(panel, typed);
    const std::string before = session.readInput();
    panel.press("savecommand");
    if (!window.globals.separator.empty()) {
        checkAppendedRecord(before, session.readInput(), window.globals.separator.front());
    }
    panel.press("predictcommand");
    const double open = window.globals.nextopen;
    fuzz::require(open == 0 || (open > 0 && open <= 1e12),
                  "only a possible Open is predicted from");
    return 0;
}
