// The date parser: whatever it accepts is a real date that reads back as itself.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/dates.h"
#include "fuzzsupport.h"

using namespace aurelant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto date = parseDate(rearrangeCompactDate(text));
    if (date) {
        fuzz::require(parseDate(formatDate(*date)) == date, "a written date reads back");
        fuzz::require(dateFromNumber(dateNumber(*date)) == *date, "a date number reads back");
    }
    return 0;
}
