// A prediction run over any file, in either mode: the separator detection, the record splitter,
// the price checks, the models and the report.
#include "fuzzsupport.h"

using namespace aurelant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    fuzz::FuzzSession& session = fuzz::session();
    session.writeInput(data + 1, size - 1);
    Aurelant& window = session.windowWithInputOpen();
    window.globals.movementmode = (data[0] & 1) != 0;
    window.globals.nextopen = 10.5;
    window.click("predictchange");
    return 0;
}
