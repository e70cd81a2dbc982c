#include "common/textfile.h"

#include <sys/syscall.h>

#include "common/errors.h"
#include "unit/tempfolder.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

bool fsyncFails = false;

}  // namespace
}  // namespace aurelant

// The program's calls of fsync land here first, so that a test can make them fail.
extern "C" int fsync(int descriptor) {
    if (aurelant::fsyncFails) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, descriptor));
}

namespace aurelant {
namespace {

class TextFiles : public TempFolderTest {
  protected:
    static std::vector<std::string> lines(const std::string& path) {
        LineReader reader(path);
        std::vector<std::string> all;
        std::string line;
        while (reader.next(line)) {
            all.push_back(line);
        }
        // Read as views, mostly into the reader's buffer, the lines are the same.
        LineReader viewReader(path);
        std::vector<std::string> views;
        for (std::string_view view; viewReader.next(view);) {
            views.emplace_back(view);
        }
        EXPECT_EQ(views, all);
        return all;
    }
};

TEST_F(TextFiles, EveryKindOfLineEndEndsALine) {
    const auto path = write("mixed.txt",
                            "\xEF\xBB\xBF"
                            "a\r\nb\nc\rd\r\r\ne");
    EXPECT_EQ(lines(path), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(lines(write("end.txt", "x\r\n")), std::vector<std::string>{"x"});
    EXPECT_TRUE(lines(write("empty.txt", "")).empty());
    EXPECT_EQ(*readFirstLine(path), "a");
    EXPECT_FALSE(readFirstLine(write("none.txt", "")).has_value());
}

TEST_F(TextFiles, LinesLongerThanTheBufferAndCrLfAcrossItsEdgeStayWhole) {
    std::string longLine(200000, 'x');
    longLine[70000] = '\0';
    const std::string longest(kLongestLine, 'w');
    const std::string content =
        std::string(65535, 'y') + "\r\n" + longLine + "\r\n" + longest + "\n" + longest + "w\rz";
    // One byte beyond the longest line the reader keeps, the line reads as an empty one.
    EXPECT_EQ(lines(write("long.txt", content)),
              (std::vector<std::string>{std::string(65535, 'y'), longLine, longest, "", "z"}));
    // Lines passed over end where read lines end.
    LineReader reader(write("mixed.txt", "a\r\nb\nc\rd\r\r\n" + content));
    std::string line;
    for (const std::string& kept :
         {std::string("b"), std::string("d"), std::string(65535, 'y'), longest, std::string("z")}) {
        EXPECT_TRUE(reader.skip());
        EXPECT_TRUE(reader.next(line));
        EXPECT_EQ(line, kept);
    }
    EXPECT_FALSE(reader.skip());
}

// A pipe or a device is refused at once, never waited for or read without end.
TEST_F(TextFiles, OnlyAPlainFileIsRead) {
    const auto failure = [](const std::string& path) {
        try {
            LineReader reader(path);
        } catch (const AppError& error) {
            return error;
        }
        return AppError(0, "");
    };
    const std::string pipe = (folder / "pipe.csv").string();
    ::mkfifo(pipe.c_str(), 0600);
    fs::create_symlink("/dev/zero", folder / "zero.csv");
    for (const std::string& path : {folder.string(), pipe, (folder / "zero.csv").string()}) {
        EXPECT_EQ(failure(path).description(), notARegularFile(path).description());
        EXPECT_EQ(failure(path).number(), 75);
    }
    const std::string missing = (folder / "missing").string();
    EXPECT_EQ(failure(missing).description(), "No such file or directory: " + missing);
}

TEST_F(TextFiles, WrittenAndAppendedLinesEndWithCrLfOnALineOfTheirOwn) {
    const auto path = (folder / "out.txt").string();
    LineWriter writer(path);
    writer.writeLine("one");
    writer.writeLine("two");
    writer.close();
    EXPECT_EQ(read(path), "one\r\ntwo\r\n");
    const auto unended = write("unended.csv", "one\r\ntwo");
    appendLineToExistingFile(unended, "three");
    EXPECT_EQ(read(unended), "one\r\ntwo\r\nthree\r\n");
    const auto loneCr = write("cr.csv", "one\r");
    appendLineToExistingFile(loneCr, "two");
    EXPECT_EQ(read(loneCr), "one\rtwo\r\n");
    const auto empty = write("empty.csv", "");
    appendLineToExistingFile(empty, "one");
    EXPECT_EQ(read(empty), "one\r\n");
}

TEST_F(TextFiles, AppendingNeverCreatesAFile) {
    const auto missing = (folder / "missing.csv").string();
    EXPECT_THROW(appendLineToExistingFile(missing, "one"), AppError);
    EXPECT_FALSE(fs::exists(missing));
    try {
        appendLineToExistingFile(folder.string(), "one");
        FAIL();
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), EISDIR);
    }
    EXPECT_EQ(entries(), 0u);
}

// A replacement takes the target's place and permissions, also for the longest names and
// through a link; abandoned, it leaves the target and no temporary file.
TEST_F(TextFiles, ReplacementTakesTheTargetsPlace) {
    const std::string longName = std::string(251, 'x') + ".csv";
    const auto path = write("prices.csv", "old\n");
    const auto real = write("real.csv", "old\n");
    const auto link = (folder / "link.csv").string();
    fs::create_symlink(real, link);
    ::chmod(path.c_str(), 0640);
    for (const std::string& target : {path, write(longName, "old\n"), link}) {
        FileReplacement replacement(target);
        replacement.writer().writeLine("new");
        replacement.commit();
    }
    EXPECT_EQ(read(path), "new\r\n");
    EXPECT_EQ(read((folder / longName).string()), "new\r\n");
    EXPECT_EQ(read(real), "new\r\n");
    EXPECT_TRUE(fs::is_symlink(link));
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    {
        FileReplacement replacement(path);
        replacement.writer().writeLine("half");
    }
    EXPECT_EQ(read(path), "new\r\n");
    EXPECT_EQ(entries(), 4u);
}

// The replacement reaches the disk before it takes the target's place: when it cannot, the target
// stays as it was.
TEST_F(TextFiles, AReplacementThatCannotReachTheDiskLeavesTheTarget) {
    const auto path = write("prices.csv", "old\r\n");
    fsyncFails = true;
    FileReplacement replacement(path);
    replacement.writer().writeLine("new");
    EXPECT_THROW(replacement.commit(), AppError);
    fsyncFails = false;
    EXPECT_EQ(read(path), "old\r\n");
}

// Open leaves a file alone when it is exactly its lines, each ended by CR LF.
TEST_F(TextFiles, AReaderTellsWhetherTheFileIsItsLinesWrittenBack) {
    const std::pair<std::string, bool> cases[] = {
        {"a\r\nb\r\n", true},
        {"", true},
        {"a\r\nb", false},
        {"a\nb\r\n", false},
        {"a\rb\r\n", false},
        {"a\r\nb\r", false},
        {"\xEF\xBB\xBF"
         "a\r\n",
         false},
        {std::string(kLongestLine + 1, 'x') + "\r\n", false}};
    for (const auto& [content, crLfOnly] : cases) {
        LineReader reader(write("file.txt", content));
        for (std::string_view line; reader.next(line);) {
        }
        EXPECT_EQ(reader.crLfOnly(), crLfOnly) << content.substr(0, 20);
    }
}

// A replacement expecting the file as it was read keeps a file that changed meanwhile; temporary
// files left over for more than an hour go with the next replacement in their folder.
TEST_F(TextFiles, AReplacementKeepsAChangedFileAndClearsStaleTemporaries) {
    const std::string path = write("prices.csv", "old\r\n");
    const std::string stale = write(".aurelant-AbC123", "left over");
    const std::string recent = write(".aurelant-XyZ789", "being written");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::minutes(61));
    const FileStamp stamp = fileStamp(path);
    FileReplacement replacement(path);
    appendLineToExistingFile(path, "appended");
    replacement.writer().writeLine("new");
    EXPECT_FALSE(replacement.commit(stamp));
    EXPECT_EQ(read(path), "old\r\nappended\r\n");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(recent));
}

TEST(DerivedFileName, CutsAtTheFirstPointOfTheWholePath) {
    EXPECT_EQ(derivedFileName("/data/prices.csv", "2.csv"), "/data/prices2.csv");
    EXPECT_EQ(derivedFileName("/home/me/v1.2/prices.csv", ".tmp"), "/home/me/v1.tmp");
    EXPECT_EQ(derivedFileName("QUOTES.doc", ".htm"), "QUOTES.htm");
    EXPECT_FALSE(derivedFileName("/data/prices", ".tmp").has_value());
}

}  // namespace
}  // namespace aurelant
