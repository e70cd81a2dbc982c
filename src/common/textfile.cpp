#include "common/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <sys/file.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>

#include "common/errors.h"

namespace aurelant {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// Temporary files: the prefix, six characters from mkstemp's alphabet and a suffix no other
// program writes, so that a clean-up can tell them from the user's own files.
constexpr std::string_view kTemporaryPrefix = ".aurelant-";
constexpr std::string_view kTemporarySuffix = ".aurelant-partial";
constexpr std::size_t kTemporaryUniquePart = 6;
constexpr auto kStaleAge = std::chrono::seconds(std::chrono::hours(1));
constexpr auto kLongestLockWait = std::chrono::seconds(5);
constexpr auto kLockRetry = std::chrono::milliseconds(20);

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

// A failure to create a file in `folder`: when the folder refuses it, the message says so, since
// the file the user named may well be writable itself.
AppError creationError(int error, const std::string& folder, const std::string& shownName) {
    if (error != EACCES && error != EPERM && error != EROFS) {
        return systemError(error, shownName);
    }
    return {error, std::string(std::strerror(error)) + ": the folder " + folder +
                       " cannot be written, so " + shownName + " cannot be rewritten"};
}

// A new temporary file in `folder`, created exclusively (never through a link); its path goes
// into `name`.
int createTemporary(const std::string& folder, std::string& name, const std::string& shownName) {
    name = folder + "/" + std::string(kTemporaryPrefix) + std::string(kTemporaryUniquePart, 'X') +
           std::string(kTemporarySuffix);
    const int fd = ::mkostemps(name.data(), static_cast<int>(kTemporarySuffix.size()), O_CLOEXEC);
    if (fd < 0) {
        throw creationError(errno, folder, shownName);
    }
    return fd;
}

// Returns the file's size.
off_t requireRegularFile(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw notARegularFile(path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return info.st_size;
}

bool sameFile(const struct stat& first, const struct stat& second) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

FileStamp stampOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

AppError tooLargeError(const std::string& path, std::uintmax_t size) {
    return programError(Failure::FileTooLarge,
                        "Out of memory: " + path + " is " + sizeRefusal(size));
}

struct OpenedFile {
    int fd;
    std::uintmax_t size;
};

// A plain file opened to be read, of no more than the largest size any reader takes. Without
// blocking, so that a pipe with no writer is refused instead of waited for.
OpenedFile openForReading(const std::string& path) {
    const int fd = openOrThrow(path, O_RDONLY | O_NONBLOCK, path);
    const auto size = static_cast<std::uintmax_t>(requireRegularFile(fd, path));
    if (size > kLargestFile) {
        ::close(fd);
        throw tooLargeError(path, size);
    }
    return {fd, size};
}

}  // namespace

AppError lineTooLong(const std::string& path) {
    return programError(Failure::LineTooLong, "Out of string space: a line of " + path +
                                                  " is longer than 1 MiB, which no price file's "
                                                  "line is");
}

std::string sizeRefusal(std::uintmax_t size) {
    if (size <= kLargestFile) {
        return {};
    }
    return "larger than " + std::to_string(kLargestFile >> 20) +
           " MB, more than any price history needs; it has not been read";
}

LineReader::LineReader(const std::string& path, LongLines longLines)
    : path_(path), longLines_(longLines), buffer_(kBufferSize) {
    fd_ = openForReading(path).fd;
}

LineReader::~LineReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool LineReader::fill() {
    ssize_t count = 0;
    while ((count = ::read(fd_, buffer_.data(), buffer_.size())) < 0) {
        if (errno != EINTR) {
            throw systemError(errno, path_);
        }
    }
    std::string_view text(buffer_.data(), static_cast<std::size_t>(count));
    if (atStart_) {
        atStart_ = false;
        crLfOnly_ = !text.starts_with(kByteOrderMark);
        text = withoutByteOrderMark(text);
    }
    if (skipLineFeed_ && !text.empty()) {
        skipLineFeed_ = false;
        crLfOnly_ = crLfOnly_ && text.front() == '\n';
        text.remove_prefix(text.front() == '\n' ? 1 : 0);
    }
    splitter_ = LineSplitter(text);
    return count > 0;
}

bool LineReader::next(std::string& line) {
    line.clear();
    return advance(&line);
}

bool LineReader::next(std::string_view& line) {
    if (lineInBuffer(line)) {
        return true;
    }
    const bool haveLine = next(spill_);
    line = spill_;
    return haveLine;
}

// The next line as a view into the buffer, when the buffer holds it whole with its line end, as
// it holds nearly every line; false leaves the rest to advance(), which refills and joins pieces.
bool LineReader::lineInBuffer(std::string_view& line) {
    if (!splitter_.nextEnded(line)) {
        return false;
    }
    noteLineEnd();
    return true;
}

void LineReader::noteLineEnd() {
    const LineEnding ending = splitter_.ending();
    // A CR that ends the buffer may be the first half of a CR LF that the next one completes.
    skipLineFeed_ = ending == LineEnding::Cr && splitter_.rest().empty();
    crLfOnly_ = crLfOnly_ && (ending == LineEnding::CrLf || skipLineFeed_);
}

bool LineReader::skip() {
    return advance(nullptr);
}

void LineReader::take(std::string_view piece, std::string& line, bool& tooLong) {
    tooLong = tooLong || line.size() + piece.size() > kLongestLine;
    if (tooLong && longLines_ == LongLines::Refuse) {
        throw lineTooLong(path_);
    }
    crLfOnly_ = crLfOnly_ && !tooLong;
    if (tooLong) {
        line.clear();
    } else {
        line.append(piece);
    }
}

bool LineReader::advance(std::string* line) {
    bool haveLine = false;
    bool tooLong = false;
    for (;;) {
        std::string_view piece;
        const bool ended = splitter_.nextEnded(piece);
        if (!ended) {
            piece = splitter_.rest();
        }
        if (line != nullptr) {
            take(piece, *line, tooLong);
        }
        if (ended) {
            noteLineEnd();
            return true;
        }
        haveLine = haveLine || !piece.empty();
        if (!fill()) {
            // A last line without a line end, or ended by a lone CR.
            crLfOnly_ = crLfOnly_ && !haveLine && !skipLineFeed_;
            return haveLine;
        }
    }
}

namespace {

// Reads up to `size` bytes; 0 at the end of the file.
std::size_t readSome(int fd, char* into, std::size_t size, const std::string& path) {
    for (;;) {
        const ssize_t count = ::read(fd, into, size);
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            const int error = errno;
            ::close(fd);
            throw systemError(error, path);
        }
    }
}

}  // namespace

std::string readWholeFile(const std::string& path) {
    const OpenedFile file = openForReading(path);
    std::string text(file.size, '\0');  // read in place, never copied
    std::size_t done = 0;
    while (done < text.size()) {
        const std::size_t count = readSome(file.fd, text.data() + done, text.size() - done, path);
        if (count == 0) {
            break;  // the file shrank while it was read
        }
        done += count;
    }
    text.resize(done);
    std::array<char, 1 << 16> chunk{};  // and what it grew by
    while (const std::size_t count = readSome(file.fd, chunk.data(), chunk.size(), path)) {
        text.append(chunk.data(), count);
        if (text.size() > kLargestFile) {
            ::close(file.fd);
            throw tooLargeError(path, text.size());
        }
    }
    ::close(file.fd);
    return text;
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
    : shownName_(shownName.empty() ? path : shownName) {
    std::string temporary;
    const int fd = createTemporary(folderOf(path), temporary, shownName_);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        throw systemError(error, shownName_);
    }
    fd_ = fd;
}

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

FileLock::FileLock(const std::string& path, int openFlags) {
    const auto deadline = std::chrono::steady_clock::now() + kLongestLockWait;
    for (;;) {
        const int fd = openOrThrow(path, openFlags | O_NONBLOCK, path);
        requireRegularFile(fd, path);
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                const int error = errno;
                ::close(fd);
                throw systemError(error, path);
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ::close(fd);
                throw programError(Failure::FileInUse, "File in use: another program keeps " +
                                                           path + " locked; try again later");
            }
            std::this_thread::sleep_for(kLockRetry);
        }
        // The file may have been replaced while this waited: then the path's new file is locked.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && sameFile(held, named)) {
            fd_ = fd;
            return;
        }
        ::close(fd);
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

FileStamp fileStamp(int fd, std::string_view shownName) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw systemError(errno, shownName);
    }
    return stampOf(info);
}

FileStamp fileStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw systemError(errno, path);
    }
    return stampOf(info);
}

namespace {

// Appends the bytes of `oldFile` from `from` to its end to the file at `path`, under that file's
// lock; returns where the old file ended.
off_t carryOver(int oldFile, off_t from, const std::string& path) {
    const off_t end = fileStamp(oldFile, path).size;
    if (end <= from) {
        return from;
    }
    const FileLock newFile(path, O_WRONLY | O_APPEND);
    std::vector<char> chunk(kBufferSize);
    while (from < end) {
        const ssize_t count =
            ::pread(oldFile, chunk.data(),
                    std::min(chunk.size(), static_cast<std::size_t>(end - from)), from);
        if (count <= 0) {
            break;
        }
        writeAll(newFile.descriptor(), {chunk.data(), static_cast<std::size_t>(count)}, path);
        from += count;
    }
    return from;
}

bool lockWithin(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kLockRetry);
    }
    return true;
}

}  // namespace

void handOverToReplacement(FileLock& lock, const FileStamp& read, const std::string& path) {
    constexpr int kQuietRounds = 3;
    constexpr int kMostRounds = 200;
    constexpr auto kRoundPause = std::chrono::milliseconds(5);
    const int oldFile = lock.descriptor();
    const FileStamp held = fileStamp(oldFile, path);
    if (held.device != read.device || held.inode != read.inode) {
        return;  // the file read was not the one held open
    }
    off_t carried = carryOver(oldFile, read.size, path);
    ::flock(oldFile, LOCK_UN);
    // Writers that opened the old file before it was replaced, and waited for its lock, write
    // into it now: their bytes follow until a few rounds bring none.
    for (int quiet = 0, round = 0; quiet < kQuietRounds && round < kMostRounds; ++round) {
        std::this_thread::sleep_for(kRoundPause);
        if (!lockWithin(oldFile, kLongestLockWait / 5)) {
            return;
        }
        const off_t before = carried;
        try {
            carried = carryOver(oldFile, carried, path);
        } catch (const AppError&) {
            ::flock(oldFile, LOCK_UN);
            throw;
        }
        ::flock(oldFile, LOCK_UN);
        quiet = carried == before ? quiet + 1 : 0;
    }
}

void appendLineToExistingFile(const std::string& path, std::string_view line) {
    appendLinesToExistingFile(path, {std::string(line)});
}

void appendLinesToExistingFile(const std::string& path, const std::vector<std::string>& lines,
                               const std::optional<FileStamp>& expected) {
    // Without O_CREAT, so a file deleted meanwhile is reported instead of silently recreated;
    // a folder fails with EISDIR.
    const FileLock lock(path, O_RDWR | O_APPEND);
    const int fd = lock.descriptor();
    if (expected && !(fileStamp(fd, path) == *expected)) {
        throw programError(Failure::FileInUse,
                           path + " changed while it was being read; try again");
    }
    const off_t originalSize = ::lseek(fd, 0, SEEK_END);
    try {
        std::string text = endsWithLineEnd(fd, path) ? "" : kLineEnd;
        for (const std::string& line : lines) {
            text.append(line).append(kLineEnd);
        }
        writeAll(fd, text, path);
    } catch (const std::exception&) {
        // A disk that filled up part-way must not leave half a record behind; the write's own
        // error is the one to report.
        if (originalSize >= 0) {
            [[maybe_unused]] const int truncated = ::ftruncate(fd, originalSize);
        }
        throw;
    }
    if (::fdatasync(fd) != 0) {
        throw systemError(errno, path);
    }
}

bool isOwnTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryUniquePart + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    const std::string_view unique = name.substr(kTemporaryPrefix.size(), kTemporaryUniquePart);
    return std::all_of(unique.begin(), unique.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

void removeStaleTemporaries(const std::string& target) {
    DIR* const folder = ::opendir(folderOf(target).c_str());
    if (folder == nullptr) {
        return;  // a folder that cannot be listed keeps its files
    }
    const time_t oldest = ::time(nullptr) - kStaleAge.count();
    while (const dirent* entry = ::readdir(folder)) {
        // Looked at without following a link: only a plain file of this user's, with no other
        // name, can be a temporary file this program made and left.
        struct stat info {};
        if (isOwnTemporaryName(entry->d_name) &&
            ::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1 &&
            info.st_mtime < oldest) {
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
    }
    ::closedir(folder);
}

FileReplacement::FileReplacement(const std::string& target, LinkAtTarget link)
    : shownName_(target), target_(target), link_(link) {
    std::error_code error;
    if (link == LinkAtTarget::Follow) {
        const auto resolved = std::filesystem::canonical(target, error);
        if (!error) {
            target_ = resolved.string();  // a link keeps pointing at the rewritten file
        }
    }
    removeStaleTemporaries(target_);
    // A short name of its own, so that even a target whose name is as long as the system
    // allows still gets a temporary beside it.
    const int fd = createTemporary(folderOf(target_), temporary_, shownName_);
    writer_.reset(new LineWriter(fd, shownName_));
}

FileReplacement::~FileReplacement() {
    if (!committed_) {
        writer_.reset();
        ::unlink(temporary_.c_str());
    }
}

bool FileReplacement::commit(const std::optional<FileStamp>& expected) {
    writer_->flush();
    // A link replaced by the file takes the permissions of a new file, not those of a link.
    struct stat info {};
    const bool known = ::fstatat(AT_FDCWD, target_.c_str(), &info,
                                 link_ == LinkAtTarget::Replace ? AT_SYMLINK_NOFOLLOW : 0) == 0;
    const mode_t mode =
        known && S_ISREG(info.st_mode) ? info.st_mode & 07777 : 0666 & ~currentUmask();
    if (::fchmod(writer_->descriptor(), mode) != 0 || ::fsync(writer_->descriptor()) != 0) {
        throw systemError(errno, shownName_);
    }
    writer_->close();
    if (expected && !(fileStamp(target_) == *expected)) {
        return false;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        throw systemError(errno, shownName_);
    }
    committed_ = true;
    return true;
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
