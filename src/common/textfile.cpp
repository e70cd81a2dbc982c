#include "common/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/errors.h"

namespace aurelant {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

int openOrThrow(const std::string& path, int flags, std::string_view shownName) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw systemError(errno, shownName);
    }
    return fd;
}

void writeAll(int fd, std::string_view data, std::string_view shownName) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw systemError(errno, shownName);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether an empty file or one whose last byte ends a line.
bool endsWithLineEnd(int fd, std::string_view shownName) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw systemError(errno, shownName);
    }
    if (info.st_size == 0) {
        return true;
    }
    char last = 0;
    if (::pread(fd, &last, 1, info.st_size - 1) != 1) {
        throw systemError(errno, shownName);
    }
    return last == '\n' || last == '\r';
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

LineReader::LineReader(const std::string& path) : path_(path), buffer_(kBufferSize) {
    fd_ = openOrThrow(path, O_RDONLY, path);
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw systemError(EISDIR, path);
    }
}

LineReader::~LineReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool LineReader::fill() {
    for (;;) {
        const ssize_t count = ::read(fd_, buffer_.data(), buffer_.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw systemError(errno, path_);
        }
        position_ = 0;
        nextCarriageReturn_ = kUnknown;
        nextLineFeed_ = kUnknown;
        length_ = static_cast<std::size_t>(count);
        return count > 0;
    }
}

std::size_t LineReader::findLineEnd() {
    auto next = [this](char wanted, std::size_t& cached) {
        if (cached == kUnknown || cached < position_) {
            const void* found =
                std::memchr(buffer_.data() + position_, wanted, length_ - position_);
            cached =
                found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data())
                      : length_;
        }
        return cached;
    };
    return std::min(next('\r', nextCarriageReturn_), next('\n', nextLineFeed_));
}

bool LineReader::next(std::string& line) {
    line.clear();
    return advance(&line);
}

bool LineReader::next(std::string_view& line) {
    if (const std::optional<std::string_view> whole = lineInBuffer()) {
        line = *whole;
        return true;
    }
    const bool haveLine = next(spill_);
    line = spill_;
    return haveLine;
}

// The next line as a view into the buffer, when the buffer holds it whole with its line end;
// nothing leaves the rest to advance(), which starts a file, refills and joins pieces.
std::optional<std::string_view> LineReader::lineInBuffer() {
    if (atStart_ || position_ >= length_) {
        return std::nullopt;
    }
    if (skipLineFeed_) {
        skipLineFeed_ = false;
        if (buffer_[position_] == '\n' && ++position_ == length_) {
            return std::nullopt;
        }
    }
    const std::size_t end = findLineEnd();
    if (end == length_) {
        return std::nullopt;
    }
    const std::string_view line(buffer_.data() + position_, end - position_);
    skipLineFeed_ = buffer_[end] == '\r';
    position_ = end + 1;
    return line;
}

bool LineReader::skip() {
    return advance(nullptr);
}

bool LineReader::advance(std::string* line) {
    bool haveLine = false;
    bool tooLong = false;
    for (;;) {
        if (position_ == length_ && !fill()) {
            return haveLine;
        }
        if (atStart_) {
            atStart_ = false;
            if (length_ >= kByteOrderMark.size() &&
                std::string_view(buffer_.data(), kByteOrderMark.size()) == kByteOrderMark) {
                position_ += kByteOrderMark.size();
                continue;
            }
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        const std::size_t end = findLineEnd();
        if (line != nullptr) {
            tooLong = tooLong || line->size() + (end - position_) > kLongestLine;
            if (tooLong) {
                line->clear();
            } else {
                line->append(buffer_.data() + position_, end - position_);
            }
        }
        haveLine = true;
        position_ = end;
        if (end < length_) {
            skipLineFeed_ = buffer_[end] == '\r';
            ++position_;
            return true;
        }
    }
}

std::string readWholeFile(const std::string& path) {
    LineReader reader(path);  // opened as every reader opens, a folder refused
    std::string text;
    std::vector<char> chunk(std::size_t{1} << 16);
    for (;;) {
        const ssize_t count = ::read(reader.fd_, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw systemError(errno, path);
        }
        if (count == 0) {
            return text;
        }
        text.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

std::optional<std::string> readFirstLine(const std::string& path) {
    LineReader reader(path);
    std::string line;
    if (!reader.next(line)) {
        return std::nullopt;
    }
    return line;
}

LineWriter::LineWriter(const std::string& path, std::string_view shownName)
    : shownName_(shownName.empty() ? path : shownName),
      fd_(openOrThrow(path, O_WRONLY | O_CREAT | O_TRUNC, shownName_)) {}

LineWriter::LineWriter(int fd, std::string shownName) : shownName_(std::move(shownName)), fd_(fd) {}

LineWriter::~LineWriter() {
    if (fd_ >= 0) {
        try {
            flush();
        } catch (const AppError&) {
            // The owner did not call close(); a failure here has no one to report to.
        }
        ::close(fd_);
    }
}

void LineWriter::write(std::string_view text) {
    pending_.append(text);
    flushWhenFull();
}

void LineWriter::writeLine(std::string_view text) {
    pending_.append(text).append(kLineEnd);
    flushWhenFull();
}

void LineWriter::flushWhenFull() {
    if (pending_.size() >= kBufferSize) {
        flush();
    }
}

void LineWriter::flush() {
    std::string data;
    data.swap(pending_);  // taken before writing, so a failed write is never repeated
    writeAll(fd_, data, shownName_);
    data.clear();
    pending_.swap(data);  // the buffer serves again instead of growing anew
}

void LineWriter::close() {
    flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        throw systemError(errno, shownName_);
    }
}

void appendLineToExistingFile(const std::string& path, std::string_view line) {
    // Without O_CREAT, so a file deleted meanwhile is reported instead of silently recreated;
    // a folder fails with EISDIR.
    const int fd = openOrThrow(path, O_RDWR | O_APPEND, path);
    const off_t originalSize = ::lseek(fd, 0, SEEK_END);
    try {
        std::string text = endsWithLineEnd(fd, path) ? "" : kLineEnd;
        text.append(line).append(kLineEnd);
        writeAll(fd, text, path);
    } catch (const std::exception&) {
        // A disk that filled up part-way must not leave half a record behind; the write's own
        // error is the one to report.
        if (originalSize >= 0) {
            [[maybe_unused]] const int truncated = ::ftruncate(fd, originalSize);
        }
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        throw systemError(errno, path);
    }
}

FileReplacement::FileReplacement(const std::string& target) : shownName_(target), target_(target) {
    std::error_code error;
    const auto resolved = std::filesystem::canonical(target, error);
    if (!error) {
        target_ = resolved.string();  // a link keeps pointing at the rewritten file
    }
    // A short name of its own, so that even a target whose name is as long as the system
    // allows still gets a temporary beside it.
    std::string pattern = folderOf(target_) + "/.aurelant-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw systemError(errno, shownName_);
    }
    temporary_ = pattern;
    writer_.reset(new LineWriter(fd, shownName_));
}

FileReplacement::~FileReplacement() {
    if (!committed_) {
        writer_.reset();
        ::unlink(temporary_.c_str());
    }
}

void FileReplacement::commit() {
    writer_->flush();
    struct stat info {};
    const mode_t mode =
        ::stat(target_.c_str(), &info) == 0 ? info.st_mode & 07777 : 0666 & ~currentUmask();
    if (::fchmod(writer_->descriptor(), mode) != 0 || ::fsync(writer_->descriptor()) != 0) {
        throw systemError(errno, shownName_);
    }
    writer_->close();
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        throw systemError(errno, shownName_);
    }
    committed_ = true;
}

std::optional<std::string> derivedFileName(const std::string& path, const std::string& ending) {
    const auto dot = path.find('.');
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    return path.substr(0, dot) + ending;
}

bool sameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return std::filesystem::equivalent(first, second, error);
}

}  // namespace aurelant
