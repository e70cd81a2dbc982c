#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "common/lines.h"

// Line-by-line reading and writing of the text files the program works on. Reading accepts
// CR LF, LF and a lone CR as line ends and drops a UTF-8 byte-order mark at the start; every
// line written ends in CR LF. Failures throw AppError with the system's error number and the
// file's name.
namespace aurelant {

inline constexpr const char* kLineEnd = "\r\n";

enum class LongLines { ReadAsEmpty, Refuse };

// The largest file any reader takes, refused before anything of it is read: many times what the
// longest history the program opens could ever need, and small enough that a reader holding a
// whole file stays well within the memory of any machine.
inline constexpr std::uintmax_t kLargestFile = std::uintmax_t{64} << 20;

// The refusal of a file with a line longer than kLongestLine by a reader that would write it back.
AppError lineTooLong(const std::string& path);

// Why a file of `size` bytes is not read ("larger than 64 MB, ..."); empty when it may be.
std::string sizeRefusal(std::uintmax_t size);

class LineReader {
  public:
    // Only a plain file is read: a folder, device or pipe throws error 75 at once, without waiting
    // for a pipe's writer or reading a device without end; a file over kLargestFile, error 7.
    explicit LineReader(const std::string& path, LongLines longLines = LongLines::ReadAsEmpty);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; false at the end of the file.
    bool next(std::string& line);
    // The same as a view, valid until the next read: into the reader's buffer when the line lies
    // whole in it, as nearly every line does, so that it is not copied.
    bool next(std::string_view& line);
    // Passes over the next line without copying it; false at the end of the file.
    bool skip();
    // Whether every line read so far ended in CR LF, with no byte-order mark and no line cut:
    // the file is then exactly its lines written back.
    bool crLfOnly() const { return crLfOnly_; }

  private:
    bool lineInBuffer(std::string_view& line);
    // Reads up to the next line end, keeping the line in `line` unless that is null.
    bool advance(std::string* line);
    void take(std::string_view piece, std::string& line, bool& tooLong);
    bool fill();
    void noteLineEnd();

    std::string path_;
    LongLines longLines_;
    int fd_ = -1;
    std::vector<char> buffer_;
    LineSplitter splitter_{{}};  // over the part of the buffer not read yet
    std::string spill_;          // a line that runs across the end of the buffer, joined
    bool atStart_ = true;
    bool skipLineFeed_ = false;  // the buffer ended in CR; an LF that starts the next belongs to it
    bool crLfOnly_ = true;
};

// The whole file as it is on the disk, for readers that must see all of it at once.
std::string readWholeFile(const std::string& path);

// The first line of a file, or nothing when the file has no line at all.
std::optional<std::string> readFirstLine(const std::string& path);

class LineWriter {
  public:
    // A working file of the program: a new empty file, created exclusively beside the path and
    // renamed into its place, so that whatever the path named before (a planted link included) is
    // replaced, never followed or written into. Failures name the file by `shownName`, or by its
    // path when that is empty.
    explicit LineWriter(const std::string& path, std::string_view shownName = {});
    ~LineWriter();  // closes without reporting; call close() to learn of failures
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void writeLine(std::string_view text);
    void write(std::string_view text);
    void flush();
    // Flushes to the disk and closes; throws on failure.
    void close();
    int descriptor() const { return fd_; }

  private:
    friend class FileReplacement;
    LineWriter(int fd, std::string shownName);
    void flushWhenFull();

    std::string shownName_;
    int fd_ = -1;
    std::string pending_;
};

// An advisory lock (flock) on the file a path names, held while the object lives. Open and Add
// Latest take it, so that neither replaces or appends to the file while the other is at it.
// Waits a few seconds at most for another holder, then throws; a file replaced while waiting is
// locked anew under its name.
class FileLock {
  public:
    explicit FileLock(const std::string& path, int openFlags = O_RDONLY);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    int descriptor() const { return fd_; }

  private:
    int fd_ = -1;
};

// What tells that a file changed: which file the path names, its size and modification time.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& other) const;
};
FileStamp fileStamp(int fd, std::string_view shownName);
FileStamp fileStamp(const std::string& path);

// Ends a rewrite once its new file took the place of the file held by `lock`, which had the stamp
// `read` when the rewrite was made of it. The bytes that writers added to the old file meanwhile
// are appended to the new file at `path`: those of a writer taking no lock (a shell's ">>"), and,
// after the lock is released, those of writers that opened the old file before it was replaced
// and waited for its lock, until a few moments bring none. So no line added is lost.
void handOverToReplacement(FileLock& lock, const FileStamp& read, const std::string& path);

// Adds `line` and CR LF at the end of an existing file, starting it on a line of its own when
// the file's last line has no line end, under the file's lock. Never creates the file: a
// missing file or a folder throws, and nothing is written anywhere.
void appendLineToExistingFile(const std::string& path, std::string_view line);
// The same for several lines at once, all or none; with `expected`, only while the file still
// has that stamp (it is refused when another program wrote it since it was read).
void appendLinesToExistingFile(const std::string& path, const std::vector<std::string>& lines,
                               const std::optional<FileStamp>& expected = std::nullopt);

// Whether a name is one the program gives its temporary files: ".aurelant-", six letters or
// digits as mkstemp makes them and ".aurelant-partial".
bool isOwnTemporaryName(std::string_view name);

// A temporary file left over from a run that was killed is removed by the next replacement of a
// file in its folder once it is an hour old: only a file with a temporary file's name that is
// plainly the program's own (a plain file of this user's with no other name), nothing else.
void removeStaleTemporaries(const std::string& target);

// What a replacement does with a link at the target: rewrite the file it points to (Open and
// Reverse rewrite the file the user opened), or put the new file in the link's place.
enum class LinkAtTarget { Follow, Replace };

// Rewrites a file in place safely: the new content goes into a temporary file in the same
// folder, which takes the target's name only on commit(). Until then, and whenever anything
// fails, the target stays as it was and the temporary file is removed.
class FileReplacement {
  public:
    explicit FileReplacement(const std::string& target, LinkAtTarget link = LinkAtTarget::Follow);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    LineWriter& writer() { return *writer_; }
    // Flushes, keeps the target's permissions and renames over the target; with `expected`, only
    // when the target still has that stamp, returning false (and keeping the target) otherwise.
    bool commit(const std::optional<FileStamp>& expected = std::nullopt);

  private:
    std::string shownName_;  // the target as the user named it, for messages
    std::string target_;
    std::string temporary_;
    LinkAtTarget link_;
    std::unique_ptr<LineWriter> writer_;
    bool committed_ = false;
};

// The part of a path before its first "." (folders included) followed by `ending`:
// ("/data/prices.csv", "2.csv") -> "/data/prices2.csv". Nothing when the path has no ".".
std::optional<std::string> derivedFileName(const std::string& path, const std::string& ending);

// Whether two paths name the same existing file (through links or other spellings too).
bool sameFile(const std::string& first, const std::string& second);

}  // namespace aurelant
