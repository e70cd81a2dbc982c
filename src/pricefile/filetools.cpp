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

struct stat statusOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw systemError(errno, path);
    }
    return info;
}

}  // namespace

FileRequest openModeRequest(std::string title, std::string filter, std::string initialName) {
    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.title = std::move(title);
    request.filter = std::move(filter);
    request.filterIndex = 1;
    request.initialName = std::move(initialName);
    return request;
}

void requireUserFile(const std::string& path, Access access) {
    if (!S_ISREG(statusOf(path).st_mode)) {
        throw notARegularFile(path);
    }
    const int mode = access == Access::Read ? R_OK : access == Access::Write ? W_OK : R_OK | W_OK;
    if (::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) != 0) {
        throw systemError(errno, path);
    }
}

std::uintmax_t fileSize(const std::string& path) {
    return static_cast<std::uintmax_t>(statusOf(path).st_size);
}

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
