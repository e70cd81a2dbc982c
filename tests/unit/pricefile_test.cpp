#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/aurelant.h"
#include "common/errors.h"
#include "pricefile/convertcommand.h"
#include "pricefile/filetools.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecord = "05-Jan-2026,10.5,11,10.25,10.75\r\n";

std::string records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += kRecord;
    }
    return text;
}

// Runs the commands as an ordinary user for as long as it lives, so that file permissions
// count also when the tests run as root.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() : wasRoot_(::geteuid() == 0) {
        if (wasRoot_ && ::seteuid(kNobody) != 0) {
            throw std::runtime_error("cannot give up root");
        }
    }
    ~AsOrdinaryUser() {
        if (wasRoot_ && ::seteuid(0) != 0) {
            std::abort();
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

  private:
    static constexpr uid_t kNobody = 65534;
    bool wasRoot_;
};

class PriceFileCommands : public ::testing::Test {
  protected:
    PriceFileCommands() : window(globals, platform) {
        folder = fs::temp_directory_path() /
                 ("aurelant-pricefile-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::all);
        window.load();
        platform.transcript.clear();
    }
    ~PriceFileCommands() override {
        // Folders a test made read-only must be opened again, or their files cannot go.
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(folder, ignored);
    }

    std::string write(const std::string& name, const std::string& content) {
        const fs::path path = folder / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static std::size_t entries(const fs::path& where) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(where), {}));
    }
    void click(const std::string& name, std::vector<std::optional<std::string>> files) {
        platform.fileAnswers.assign(files.begin(), files.end());
        ASSERT_TRUE(window.click(name));
    }
    // The text of the last message box, or nothing.
    std::string lastMessage() const {
        for (auto line = platform.transcript.rbegin(); line != platform.transcript.rend(); ++line) {
            const auto text = line->find(" text=\"");
            if (line->starts_with("message ") && text != std::string::npos) {
                return line->substr(text + 7, line->rfind("\" -> ") - text - 7);
            }
        }
        return "";
    }

    fs::path folder;
    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
};

TEST_F(PriceFileCommands, OpenNeverTouchesAFileNamedAfterAPointInAFolderName) {
    const std::string neighbour = write("v1.tmp", "the user's own file\r\n");
    const std::string prices =
        write("v1.2/prices.csv", "Date,Open,High,Low,Close\r\n" + records(5));
    click("open", {prices});
    EXPECT_TRUE(globals.fileopen);
    EXPECT_EQ(read(neighbour), "the user's own file\r\n");
    EXPECT_EQ(read(prices), records(5));
    EXPECT_EQ(entries(folder / "v1.2"), 1u);
    EXPECT_EQ(entries(folder), 2u);
}

TEST_F(PriceFileCommands, OpenKeepsNulBytesAndLongLinesWithoutHarm) {
    const std::string withNul = std::string("05-Jan-2026,10.5,11,\0x10.25,10.75\r\n", 35);
    const std::string binary = write("binary.csv", withNul + withNul + withNul + withNul + withNul);
    click("open", {binary});
    EXPECT_TRUE(globals.fileopen);
    EXPECT_EQ(read(binary), withNul + withNul + withNul + withNul + withNul);

    const std::string noise = write("noise.dat", std::string("\0\xff\xfe\x01\r\n", 6) + "\x80\x81");
    click("open", {noise});
    EXPECT_EQ(lastMessage(),
              "This file does not appear to contain valid OHLC data, and will not be opened.");
    EXPECT_EQ(read(noise), std::string("\0\xff\xfe\x01\r\n", 6) + "\x80\x81");

    const std::string hugeLine = "05-Jan-2026," + std::string(8 << 20, '1') + ",1,1,1";
    const std::string huge = write("huge.csv", hugeLine);
    click("open", {huge});
    EXPECT_FALSE(globals.fileopen);
    EXPECT_EQ(lastMessage(),
              "This file contains only 1 record. This is insufficient to carry out a prediction, "
              "and the file will not be opened.");
    EXPECT_EQ(read(huge), hugeLine + "\r\n");
}

TEST_F(PriceFileCommands, OpenRespectsFilesAndFoldersTheUserMayNotChange) {
    const std::string locked = write("locked.csv", "Date,Open,High,Low,Close\r\n" + records(5));
    ::chmod(locked.c_str(), 0444);
    const std::string hidden = write("hidden.csv", records(5));
    ::chmod(hidden.c_str(), 0);
    const std::string inFixedFolder = write("fixed/prices.csv", "Date\r\n" + records(5));
    ::chmod(inFixedFolder.c_str(), 0666);
    ::chmod((folder / "fixed").c_str(), 0555);
    {
        AsOrdinaryUser user;
        click("open", {locked});
        EXPECT_EQ(lastMessage(), "Error Number: 13  Error is: Permission denied");
        EXPECT_EQ(globals.lastfile, locked);
        click("open", {hidden});
        EXPECT_EQ(lastMessage(), "Error Number: 13  Error is: Permission denied");
        click("open", {inFixedFolder});
        EXPECT_EQ(lastMessage(), "Error Number: 13  Error is: Permission denied");
    }
    EXPECT_FALSE(globals.fileopen);
    EXPECT_TRUE(globals.currentfile.empty());
    EXPECT_EQ(window.caption, "");
    EXPECT_EQ(read(locked), "Date,Open,High,Low,Close\r\n" + records(5));
    EXPECT_EQ(read(inFixedFolder), "Date\r\n" + records(5));
    EXPECT_EQ(entries(folder / "fixed"), 1u);
}

TEST_F(PriceFileCommands, ReverseLeavesTheFileAsItWasWhenItCannotBeRewritten) {
    const std::string prices = write("fixed/prices.csv", records(3));
    ::chmod(prices.c_str(), 0666);
    ::chmod((folder / "fixed").c_str(), 0555);
    {
        AsOrdinaryUser user;
        click("reverse", {prices});
    }
    EXPECT_EQ(lastMessage(), "Error Number: 13  Error is: Permission denied");
    EXPECT_EQ(read(prices), records(3));
    EXPECT_EQ(entries(folder / "fixed"), 1u);
    EXPECT_TRUE(globals.currentfile.empty());
    EXPECT_EQ(window.maintext.text, "Data Panel");

    click("reverse", {folder.string()});
    EXPECT_EQ(lastMessage(), "Error Number: 21  Error is: Is a directory");
}

TEST_F(PriceFileCommands, ReverseFollowsALinkToTheFileItRewrites) {
    const std::string real =
        write("real.csv", "first line of the file...\r\nsecond line of the file..\r\n");
    const fs::path link = folder / "link.csv";
    fs::create_symlink(real, link);
    click("reverse", {link.string()});
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read(real), "second line of the file..\r\nfirst line of the file...\r\n");
}

TEST_F(PriceFileCommands, ConvertRefusesAnOutputThatIsTheSourceThroughALink) {
    const std::string source = write("quotes.txt", "01/02/03 12.50 12.75 12.30 12.60\r\n");
    const fs::path link = folder / "quotes2.csv";
    fs::create_symlink(source, link);
    const fs::path hardLink = folder / "same.csv";
    fs::create_hard_link(source, hardLink);
    for (const fs::path& output : {link, hardLink}) {
        click("fixup", {source, output.string()});
        EXPECT_EQ(lastMessage(), "Error: " + programError(Failure::OutputIsSource).description());
        EXPECT_EQ(read(source), "01/02/03 12.50 12.75 12.30 12.60\r\n");
    }
    EXPECT_EQ(entries(folder), 3u);
}

TEST_F(PriceFileCommands, ConvertLeavesAnOutputItCannotWriteAsItWas) {
    const std::string source = write("quotes.txt", "01/02/03 12.50 12.75 12.30 12.60\r\n");
    const std::string output = write("kept.csv", "older data\r\n");
    ::chmod(output.c_str(), 0444);
    {
        AsOrdinaryUser user;
        click("fixup", {source, output});
    }
    EXPECT_EQ(lastMessage(), "Error: Permission denied");
    EXPECT_EQ(read(output), "older data\r\n");
    click("fixup", {source, folder.string()});
    EXPECT_EQ(lastMessage(), "Error: Is a directory");
    EXPECT_EQ(entries(folder), 2u);
}

TEST_F(PriceFileCommands, ConvertInPasteModeTakesTheFileThePasteSaved) {
    globals.lastdialogfile = write("pasted.doc", "01/02/03 12.50 12.75 12.30 12.60 1,234\r\n");
    globals.suggestedfile = (folder / "pasted2.csv").string();
    globals.savechoice = "frompaste";
    click("fixup", {globals.suggestedfile});
    ASSERT_EQ(platform.transcript.size(), 3u);  // the save dialog and the busy pointer only
    EXPECT_TRUE(platform.transcript[0].starts_with("filedialog save "));
    EXPECT_NE(platform.transcript[0].find("initial=\"" + globals.suggestedfile + "\""),
              std::string::npos);
    EXPECT_EQ(globals.savechoice, "");
    EXPECT_EQ(read(globals.suggestedfile), "01/02/03,12.50,12.75,12.30,12.60,1234\r\n");
    EXPECT_EQ(window.maintext.text, "\r\n01/02/03,12.50,12.75,12.30,12.60,1234");
}

TEST_F(PriceFileCommands, RedisplayReportsAFileThatCannotBeRead) {
    const std::string prices = write("prices.csv", records(5));
    click("open", {prices});
    ::chmod(prices.c_str(), 0);
    {
        AsOrdinaryUser user;
        window.click("redisplay");
    }
    EXPECT_EQ(lastMessage(), "Error: Permission denied");
    EXPECT_EQ(window.maintext.text, "");
    fs::remove(prices);
    fs::create_directory(prices);
    window.click("redisplay");
    EXPECT_EQ(lastMessage(), "Error: Is a directory");
}

TEST(SpaceSeparatedToCsv, BlanksAfterTheDateBecomeCommas) {
    EXPECT_EQ(csvFromSpaceSeparated("01/02/03 12.50 12.75 12.30 12.60 1,234"),
              "01/02/03,12.50,12.75,12.30,12.60,1234");
    EXPECT_EQ(csvFromSpaceSeparated("01/02/03 12.50  12.75 12.30 12.60"),
              "01/02/03,12.50,,12.75,12.30,12.60");
    EXPECT_EQ(csvFromSpaceSeparated("1/2/03 12.5 13.0 12.1 12.9"), "1/2/03 12.5,13.0,12.1,12.9");
    EXPECT_EQ(csvFromSpaceSeparated("01 02 03 1.5 2.5 3.5 4.5"), "01 02 03,1.5,2.5,3.5,4.5");
    EXPECT_EQ(csvFromSpaceSeparated("01/02/03\t12.50\t12.75\t12.30"),
              "01/02/03\t12.50\t12.75\t12.30");
}

TEST(SpaceSeparatedToCsv, OneTrailingCommaGoesAndBlanksAtTheEndsAreTrimmed) {
    EXPECT_EQ(csvFromSpaceSeparated("01/02/03 12.50 12.75 12.30 "), "01/02/03,12.50,12.75,12.30");
    EXPECT_EQ(csvFromSpaceSeparated("01/02/03 12.50 12.75 12.30  "), "01/02/03,12.50,12.75,12.30,");
    EXPECT_EQ(csvFromSpaceSeparated("  1/2/03 12.50 12.75 12.30"), "1/2/03,12.50,12.75,12.30");
    EXPECT_EQ(csvFromSpaceSeparated(std::string(21, ' ')), std::string(12, ','));
    EXPECT_EQ(csvFromSpaceSeparated(std::string(21, ',')), "");
}

TEST(SpaceSeparatedToCsv, LinesOfTwentyCharactersOrFewerAreDropped) {
    EXPECT_TRUE(csvFromSpaceSeparated("01/02/03 12.5 13 12 1").has_value());
    EXPECT_FALSE(csvFromSpaceSeparated("01/02/03 12.5 13 12 ").has_value());
    EXPECT_FALSE(csvFromSpaceSeparated("").has_value());
}

TEST(UserFiles, OnlyPlainFilesThatCanBeReachedPass) {
    EXPECT_NO_THROW(requireUserFile("/etc/hostname", Access::Read));
    try {
        requireUserFile("/dev/null", Access::Read);
        FAIL();
    } catch (const AppError& error) {
        EXPECT_EQ(error.description(), "Invalid argument");
    }
    try {
        requireUserFile("/nonexistent/prices.csv", Access::Read);
        FAIL();
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), ENOENT);
    }
}

}  // namespace
}  // namespace aurelant
