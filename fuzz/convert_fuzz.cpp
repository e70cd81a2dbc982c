// The space-to-comma conversion of every line of any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzzsupport.h"
#include "pricefile/convertcommand.h"

using namespace aurelant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (const auto csv = csvFromSpaceSeparated(text.substr(0, end))) {
            fuzz::require(csv->empty() || csv->front() != ' ', "a converted line starts unblank");
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return 0;
}
