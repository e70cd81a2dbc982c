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

void appendPreview(MainScreen& screen, const std::vector<std::string_view>& lines,
                   const std::string& lineEnd) {
    const bool snipped = lines.size() > kPreviewLimit;
    if (snipped) {
        screen.append("Displaying up to 120 records from the file...");
        screen.append(lineEnd);
    }
    auto appendLines = [&](std::size_t from, std::size_t to) {
        for (std::size_t index = from; index < to; ++index) {
            screen.append(lines[index]);
            screen.append(lineEnd);
        }
    };
    if (!snipped) {
        appendLines(0, lines.size());
        return;
    }
    appendLines(0, kPreviewHalf);
    screen.append(" <...snip...>");
    screen.append(lineEnd);
    appendLines(lines.size() - kPreviewHalf, lines.size());
}

void closeFileAfterError(AppState& window, const AppError& error) {
    window.dropFileAfterError("");
    window.showMessage(errorMessage(ErrorWording::NumberColon, error));
}

}  // namespace aurelant
