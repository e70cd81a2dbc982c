#include "pricefile/latestrecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "common/lines.h"
#include "common/numtext.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

constexpr off_t kFirstTail = off_t{64} << 10;

// Closes the descriptor however the search ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

// The last record among the lines of `text`; a line longer than any reader keeps is not one.
std::optional<std::string> lastRecordIn(std::string_view text, char separator) {
    const std::vector<std::string_view> lines = textLines(text);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (!line->empty() && splitRecord(*line, separator)) {
            return std::string(*line);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> latestRecordLine(const std::string& path, char separator) {
    // Not blocking on a FIFO: the file's readers refuse it with their own message.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    // A tail that holds no record is read again four times as long, up to the whole file.
    for (off_t tail = kFirstTail;; tail *= 4) {
        const off_t start = std::max<off_t>(0, info.st_size - tail);
        std::vector<char> buffer(static_cast<std::size_t>(info.st_size - start));
        const ssize_t got = ::pread(file.fd, buffer.data(), buffer.size(), start);
        if (got < 0) {
            return std::nullopt;
        }
        std::string_view text(buffer.data(), static_cast<std::size_t>(got));
        if (start > 0) {
            // The first line may have begun before the tail.
            const std::size_t firstEnd = text.find_first_of("\r\n");
            text.remove_prefix(firstEnd == std::string_view::npos ? text.size() : firstEnd);
        }
        if (std::optional<std::string> line = lastRecordIn(text, separator); line || start == 0) {
            return line;
        }
    }
}

int levelDecimals(const std::string& path, char separator) {
    const std::optional<std::string> line = latestRecordLine(path, separator);
    if (!line) {
        return kCutDecimals;
    }
    return priceDecimals(splitRecord(*line, separator)->close);
}

}  // namespace aurelant
