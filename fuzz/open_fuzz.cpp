// Open over any file: the line reader, the format check, the normalisation and the preview.
// A file that Open does not accept must stay byte for byte as it was.
#include "fuzzsupport.h"

using namespace aurelant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzSession& session = fuzz::session();
    session.writeInput(data, size);
    Aurelant& window = session.windowWithInputOpen();
    window.click("open");
    if (!window.globals.fileopen) {
        fuzz::require(session.readInput() == std::string(reinterpret_cast<const char*>(data), size),
                      "a refused file is left as it was");
    }
    return 0;
}
