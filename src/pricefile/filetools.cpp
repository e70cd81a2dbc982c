#include "pricefile/filetools.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/errors.h"
#include "common/textfile.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr std::size_t kPreviewHalf = 60;

}  // namespace

void appendPreview(MainScreen& screen, const std::string& path, std::size_t count,
                   const std::string& lineEnd) {
    const bool snipped = count > kPreviewLimit;
    const std::size_t tailStart = snipped ? count - kPreviewHalf : kPreviewHalf;
    if (snipped) {
        screen.append("Displaying up to 120 records from the file...");
        screen.append(lineEnd);
    }
    LineReader reader(path);
    std::string_view line;
    auto shown = [&](std::size_t number) { return number <= kPreviewHalf || number > tailStart; };
    // The lines between the two halves are passed over without being copied.
    for (std::size_t number = 1; shown(number) ? reader.next(line) : reader.skip(); ++number) {
        if (shown(number)) {
            screen.append(line);
            screen.append(lineEnd);
        }
        if (number == kPreviewHalf && snipped) {
            screen.append(" <...snip...>");
            screen.append(lineEnd);
        }
    }
}

void closeFileAfterError(AppState& window, const AppError& error) {
    window.dropFileAfterError("");
    window.showMessage(errorMessage(ErrorWording::NumberColon, error));
}

}  // namespace aurelant
