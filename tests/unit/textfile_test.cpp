#include "common/textfile.h"

#include <sys/syscall.h>

#include "common/errors.h"
#include "common/userfile.h"
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

// A pipe or a device is refused at once, never waited for or read without end; a huge file too.
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
    // A file beyond the largest any reader takes is refused before a byte of it is read.
    const std::string huge = write("huge.csv", "");
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kLargestFile) + 1), 0);
    EXPECT_EQ(failure(huge).description(), "Out of memory: " + huge +
                                               " is larger than 64 MB, more than any price "
                                               "history needs; it has not been read");
    EXPECT_EQ(failure(huge).number(), 7);
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

// A replacement expecting the file as it was read keeps a file that changed meanwhile.
TEST_F(TextFiles, AReplacementKeepsAChangedFile) {
    const std::string path = write("prices.csv", "old\r\n");
    const FileStamp stamp = fileStamp(path);
    FileReplacement replacement(path);
    appendLineToExistingFile(path, "appended");
    replacement.writer().writeLine("new");
    EXPECT_FALSE(replacement.commit(stamp));
    EXPECT_EQ(read(path), "old\r\nappended\r\n");
}

// A replacement clears the temporary files a killed run left in its folder over an hour ago, and
// nothing else: not a name that merely starts like one, nor a file that may be someone else's.
TEST_F(TextFiles, AReplacementClearsOnlyItsOwnStaleTemporaries) {
    const std::string own = ".aurelant-AbC123.aurelant-partial";
    const auto aged = [](const std::string& path) {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(61));
        return path;
    };
    const std::string gone = aged(write(own, "left over"));
    const std::vector<std::string> kept = {
        aged(write(".aurelant-XyZ789", "an older version's name")),
        aged(write(".aurelant-backup", "the user's")),
        aged(write(".aurelant-my.csv", "the user's")),
        aged(write(".aurelant-a\nb123.aurelant-partial", "the user's")),
        aged(write(".aurelant-ab-123.aurelant-partial", "the user's")),
        write(".aurelant-Recent.aurelant-partial", "being written"),
        aged(write("linked/.aurelant-Linked.aurelant-partial", "a second name")),
        aged(write("foreign/.aurelant-Others.aurelant-partial", "another user's"))};
    fs::create_hard_link(kept[6], folder / ".aurelant-Linked.aurelant-partial");
    fs::create_symlink(aged(write("file", "")), folder / ".aurelant-Symlnk.aurelant-partial");
    const bool foreignOwner = ::lchown(kept[7].c_str(), 65534, 65534) == 0;
    for (const std::string& target : {write("prices.csv", "old\r\n"), kept[6], kept[7]}) {
        FileReplacement replacement(target);
        replacement.writer().writeLine("new");
    }
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_TRUE(fs::is_symlink(folder / ".aurelant-Symlnk.aurelant-partial"));
    for (std::size_t index = 0; index < kept.size(); ++index) {
        if (index != 7 || foreignOwner) {
            EXPECT_TRUE(fs::exists(kept[index])) << kept[index];
        }
    }
    EXPECT_FALSE(isOwnTemporaryName(".aurelant-AbC12.aurelant-partial"));
}

// A save puts its file in the place of a link of the user's own and never writes through it; a
// link another user planted (in a shared folder) is refused with what it points to.
TEST_F(TextFiles, ASaveNeverWritesThroughALink) {
    const std::string victim = write("bashrc", "the user's settings\n");
    const std::string own = (folder / "own.csv").string();
    const std::string planted = (folder / "planted.csv").string();
    fs::create_symlink(victim, own);
    fs::create_symlink(victim, planted);
    writeUserFile(own, [](LineWriter& writer) { writer.writeLine("saved"); });
    EXPECT_FALSE(fs::is_symlink(own));
    EXPECT_EQ(read(own), "saved\r\n");
    EXPECT_EQ(read(victim), "the user's settings\n");
    if (::lchown(planted.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "only root can plant another user's link";
    }
    try {
        writeUserFile(planted, [](LineWriter& writer) { writer.writeLine("saved"); });
        FAIL();
    } catch (const AppError& error) {
        EXPECT_EQ(error.description(), "\"" + planted + "\" is a link to \"" + victim +
                                           "\" that another user made; it has not been written "
                                           "through. Choose another name");
    }
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_EQ(read(victim), "the user's settings\n");
    EXPECT_EQ(entries(), 3u);
}

TEST(DerivedFileName, CutsAtTheFirstPointOfTheWholePath) {
    EXPECT_EQ(derivedFileName("/data/prices.csv", "2.csv"), "/data/prices2.csv");
    EXPECT_EQ(derivedFileName("/home/me/v1.2/prices.csv", ".tmp"), "/home/me/v1.tmp");
    EXPECT_EQ(derivedFileName("QUOTES.doc", ".htm"), "QUOTES.htm");
    EXPECT_FALSE(derivedFileName("/data/prices", ".tmp").has_value());
}

}  // namespace
}  // namespace aurelant
