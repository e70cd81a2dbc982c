// The file commands where scenario scripts cannot reach: permissions as an ordinary user, links,
// folders in place of files, bytes that script lines cannot hold, and the paste mode of Convert.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>

#include "app/aurelant.h"
#include "common/errors.h"
#include "common/textfile.h"
#include "pricefile/acceptance.h"
#include "pricefile/convertcommand.h"
#include "pricefile/historyformat.h"
#include "pricefile/layoutcheck.h"
#include "scenario/scripted_platform.h"
#include "unit/tempfolder.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

std::function<void(bool before)> aroundRename;

}  // namespace
}  // namespace aurelant

// The program's calls of rename land here first, so that a test can act just before and after.
extern "C" int rename(const char* from, const char* to) {
    if (aurelant::aroundRename) {
        aurelant::aroundRename(true);
    }
    const int result = ::renameat(AT_FDCWD, from, AT_FDCWD, to);
    if (aurelant::aroundRename) {
        aurelant::aroundRename(false);
    }
    return result;
}

namespace aurelant {
namespace {

// Day `number` of a price file whose every month has 28 days, from 1900 on.
std::string dayRecord(int number) {
    constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char line[40];
    std::snprintf(line, sizeof line, "%02d-%s-%04d,10.5,11,10.25,10.75\r\n", number % 28 + 1,
                  kMonths[number / 28 % 12], 1900 + number / 336);
    return line;
}
// Five days of January 2026, and the same newest first.
std::string januaryRecords(int first, int step) {
    std::string records;
    for (int day = first; day >= 1 && day <= 5; day += step) {
        records += "0" + std::to_string(day) + "-Jan-2026,10.5,11,10.25,10.75\r\n";
    }
    return records;
}
const std::string kRecords = januaryRecords(1, 1);
const std::string kReversedRecords = januaryRecords(5, -1);
std::string denied(const std::string& path) {
    return "Error Number: 13  Error is: Permission denied: " + path;
}
constexpr const char* kQuote = "01/02/03 12.50 12.75 12.30 12.60\r\n";

// Runs the commands as an ordinary user for as long as it lives, so that file permissions
// count also when the tests run as root.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() : wasRoot_(::geteuid() == 0) {
        if (wasRoot_ && ::seteuid(65534) != 0) {
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
    bool wasRoot_;
};

class PriceFileCommands : public TempFolderTest {
  protected:
    PriceFileCommands() : window(globals, platform) {
        window.load();
        platform.transcript.clear();
    }

    // Clicks NAME with the file dialogs answered by FILES; returns the text of the last message.
    std::string click(const std::string& name, std::vector<std::optional<std::string>> files) {
        platform.fileAnswers.assign(files.begin(), files.end());
        EXPECT_TRUE(window.click(name));
        for (auto line = platform.transcript.rbegin(); line != platform.transcript.rend(); ++line) {
            const auto text = line->find(" text=\"");
            if (line->starts_with("message ") && text != std::string::npos) {
                return line->substr(text + 7, line->rfind("\" -> ") - text - 7);
            }
        }
        return "";
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
};

TEST_F(PriceFileCommands, OpenNeverTouchesAFileNamedAfterAPointInAFolderName) {
    const std::string neighbour = write("v1.tmp", "the user's own file\r\n");
    const std::string prices = write("v1.2/prices.csv", "Date,Open,High,Low,Close\r\n" + kRecords);
    click("open", {prices});
    EXPECT_TRUE(globals.fileopen);
    EXPECT_EQ(read(neighbour), "the user's own file\r\n");
    EXPECT_EQ(read(prices), kRecords);
    EXPECT_EQ(entries(folder / "v1.2"), 1u);
    EXPECT_EQ(entries(folder), 2u);
}

TEST_F(PriceFileCommands, OpenAndReverseLeaveWhatTheyRefuseByteForByte) {
    const std::string noise = std::string("\0\xff\xfe\x01\r\n", 6) + "\x80\x81";
    EXPECT_EQ(click("open", {write("noise.dat", noise)}),
              "This file does not appear to contain valid OHLC data, and will not be opened.");
    EXPECT_EQ(read((folder / "noise.dat").string()), noise);

    // What the recognition does not confirm as a price table in the program's own layout: Open
    // and Reverse refuse it, or offer the import, and leave it byte for byte. A line longer than
    // 1 MiB, NUL bytes, an address book under a header, budgets with notes, a Latin-1 file, noise.
    const std::string withNul(std::string("05-Jan-2026,10.5,11,\0x10.25,10.75\r\n", 35));
    const std::string hugeLine = "05-Jan-2026," + std::string(8 << 20, '1') + ",1,1,1\r\n";
    const std::string hugeField = "05-Jan-2026,10.5,11,10.25,10.75," + std::string(2 << 20, 'x');
    std::string utf16;
    for (const char c : std::string(kRecords)) {
        utf16 += std::string(1, c) + '\0';
    }
    std::string addresses = "Name,Street,City,Phone,Email\r\n";
    std::string budget = "Budget\r\n";
    std::string figures = "Budget\r\n";
    std::string french = "Date\tOuverture\tHaut\tBas\tCl\xf4ture\r\n";
    for (int day = 1; day <= 9; ++day) {
        addresses += "Ann Lee,1 Main Street,Springfield,555-0101,a@b.org\r\n";
        budget += "2026-01-0" + std::to_string(day) + ",Groceries,-10.50,Food,card\r\nnote\r\n";
        figures += "2026-01-0" + std::to_string(day) + ",12.50,30.00,5.00,9.00\r\nnote\r\n";
        french += "0" + std::to_string(day) + "-Jan-2026\t10.5\t11\t10.25\t10.75\r\n";
    }
    std::string randomBytes(100000, '\0');
    std::uint32_t seed = 7;
    for (char& byte : randomBytes) {
        seed = seed * 1664525 + 1013904223;
        byte = static_cast<char>(seed >> 24);
    }
    for (const std::string& content :
         {hugeLine + kRecords, std::string(10 << 20, 'x'), utf16, "Date\r\n" + kRecords + hugeLine,
          kRecords + hugeField, withNul + withNul + withNul + withNul + withNul, addresses, budget,
          figures, french, randomBytes, "D\xe2te,Open,High,Low,Close\r\n" + kRecords}) {
        const std::string path = write("refused.csv", content);
        for (const char* command : {"open", "reverse"}) {
            platform.answers.assign(1, Answer::No);  // to Open's offer of the import
            click(command, {path});
            EXPECT_FALSE(globals.fileopen);
            EXPECT_EQ(read(path), content) << command << content.substr(0, 40);
        }
    }
    const std::string huge = write("huge.csv", kRecords);
    // A file that is already clean is not written at all, nor is anything beside it removed.
    const auto written = fs::last_write_time(huge);
    const auto stale = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const char* name : {".aurelant-AbC123", ".aurelant-AbC123.aurelant-partial"}) {
        fs::last_write_time(write(name, ""), stale);
    }
    click("open", {huge});
    EXPECT_EQ(fs::last_write_time(huge), written);
    EXPECT_TRUE(fs::exists(folder / ".aurelant-AbC123"));
    EXPECT_TRUE(fs::exists(folder / ".aurelant-AbC123.aurelant-partial"));
}

// While Open rewrites the file again and again, a second process adds days as Add Latest does:
// none of them is lost.
TEST_F(PriceFileCommands, OpenLosesNoDayAddedMeanwhile) {
    constexpr int kDays = 150;
    std::string records;
    for (int record = 0; record < 20000; ++record) {
        records += dayRecord(record);  // so that each rewrite takes a while
    }
    const std::string path = write("prices.csv", records);
    const pid_t appender = ::fork();
    if (appender == 0) {
        for (int day = 0; day < kDays; ++day) {
            std::string record = dayRecord(20000 + day);
            appendLineToExistingFile(path, record.substr(0, record.size() - 2));
            ::usleep(1000);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(appender, &status, WNOHANG) == 0) {
        appendLineToExistingFile(path, "");  // a blank line, for Open to remove
        click("open", {path});
    }
    click("open", {path});
    const std::string content = read(path);
    for (int day = 0; day < kDays; ++day) {
        EXPECT_NE(content.find(dayRecord(20000 + day)), std::string::npos) << day;
    }
}

// Open and Reverse hold the file's lock until their rewrite is in place. Lines added to the old
// file meanwhile are carried over into the new one: one by a writer taking no lock (a shell's
// ">>") just before the rename, one through the old file just after, and one by a process that
// opened the old file before the rename and waited for its lock (a script using flock).
TEST_F(PriceFileCommands, RewritesCarryOverLinesAddedToTheFileTheyReplace) {
    for (const char* command : {"open", "reverse"}) {
        const std::string path = write("prices.csv", "Date\r\n" + kRecords);
        int oldFile = -1;
        pid_t waiter = -1;
        aroundRename = [&](bool before) {
            if (before) {
                oldFile = ::open(path.c_str(), O_WRONLY | O_APPEND);
                EXPECT_NE(::flock(oldFile, LOCK_EX | LOCK_NB), 0) << command;
                int opened[2];
                ASSERT_EQ(::pipe(opened), 0);
                waiter = ::fork();
                if (waiter == 0) {
                    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
                    [[maybe_unused]] const ssize_t told = ::write(opened[1], "", 1);
                    ::flock(fd, LOCK_EX);
                    [[maybe_unused]] const ssize_t written =
                        ::write(fd, "09-Jan-2026,1,2,1,2\n", 20);
                    ::_exit(0);
                }
                char ready = 0;
                EXPECT_EQ(::read(opened[0], &ready, 1), 1);
                ::close(opened[0]);
                ::close(opened[1]);
            }
            const std::string line = before ? "07-Jan-2026,1,2,1,2\n" : "08-Jan-2026,1,2,1,2\n";
            EXPECT_EQ(::write(oldFile, line.data(), line.size()), ssize_t(line.size()));
        };
        click(command, {path});
        aroundRename = nullptr;
        ::close(oldFile);
        ::waitpid(waiter, nullptr, 0);
        const std::string records = command == std::string("open") ? kRecords : kReversedRecords;
        EXPECT_EQ(read(path),
                  records + "07-Jan-2026,1,2,1,2\n08-Jan-2026,1,2,1,2\n09-Jan-2026,1,2,1,2\n")
            << command;
    }
}

TEST_F(PriceFileCommands, CommandsLeaveFilesAndFoldersTheUserMayNotChangeAsTheyWere) {
    const std::string locked = write("locked.csv", "Date,Open,High,Low,Close\r\n" + kRecords, 0444);
    const std::string hidden = write("hidden.csv", kRecords, 0);
    const std::string inFixedFolder = write("fixed/prices.csv", "Date\r\n" + kRecords);
    const std::string output = write("kept.csv", "older data\r\n", 0444);
    const std::string source = write("quotes.txt", kQuote);
    // With a header, so that Open rewrites it as the ordinary user, who may then lock it.
    const std::string prices = write("prices.csv", "Date\r\n" + kRecords);
    ::chmod((folder / "fixed").c_str(), 0555);
    {
        AsOrdinaryUser user;
        EXPECT_EQ(click("open", {locked}), denied(locked));
        EXPECT_EQ(globals.lastfile, locked);
        EXPECT_EQ(click("open", {hidden}), denied(hidden));
        // The file may be written; its folder may not, and the message says so.
        const std::string fixedFolder =
            "Error Number: 13  Error is: Permission denied: the folder " +
            fs::canonical(folder / "fixed").string() + " cannot be written, so " + inFixedFolder +
            " cannot be rewritten";
        EXPECT_EQ(click("open", {inFixedFolder}), fixedFolder);
        EXPECT_FALSE(globals.fileopen);
        EXPECT_TRUE(globals.currentfile.empty());
        EXPECT_EQ(window.caption, "");
        EXPECT_EQ(click("reverse", {inFixedFolder}), fixedFolder);
        EXPECT_TRUE(globals.currentfile.empty());
        EXPECT_EQ(window.maintext.text, "Data Panel");
        EXPECT_EQ(click("fixup", {source, output}), "Error: Permission denied: " + output);
        click("open", {prices});
        ::chmod(prices.c_str(), 0);
        EXPECT_EQ(click("redisplay", {}), "Error: Permission denied: " + prices);
        EXPECT_EQ(window.maintext.text, "");
    }
    EXPECT_EQ(read(locked), "Date,Open,High,Low,Close\r\n" + kRecords);
    EXPECT_EQ(read(inFixedFolder), "Date\r\n" + kRecords);
    EXPECT_EQ(entries(folder / "fixed"), 1u);
    EXPECT_EQ(read(output), "older data\r\n");
    EXPECT_EQ(entries(folder), 6u);
}

TEST_F(PriceFileCommands, AFolderInPlaceOfAFileIsReported) {
    auto notAFile = [](const std::string& path) {
        return "\\\"" + path + "\\\" is not a regular file but a folder, a device or a pipe";
    };
    const std::string prices = write("prices.csv", kRecords);
    EXPECT_EQ(click("reverse", {folder.string()}),
              "Error Number: 75  Error is: " + notAFile(folder.string()));
    EXPECT_EQ(click("fixup", {prices, folder.string()}), "Error: " + notAFile(folder.string()));
    EXPECT_EQ(entries(folder), 1u);
    click("open", {prices});
    fs::remove(prices);
    fs::create_directory(prices);
    EXPECT_EQ(click("redisplay", {}), "Error: " + notAFile(prices));
}

// Reverse keeps a header above the days, so that Open then takes the file without a question.
TEST_F(PriceFileCommands, AReversedFileOpensWithoutAQuestion) {
    const std::string path = write("prices.csv", "Date,Open,High,Low,Close\r\n" + kReversedRecords);
    click("reverse", {path});
    EXPECT_EQ(read(path), "Date,Open,High,Low,Close\r\n" + kRecords);
    click("open", {path});
    EXPECT_TRUE(globals.fileopen);
    EXPECT_EQ(read(path), kRecords);
}

TEST_F(PriceFileCommands, LinksLeadToTheFilesTheyName) {
    const std::string real = write("real.csv", kRecords);
    fs::create_symlink(real, folder / "link.csv");
    click("reverse", {(folder / "link.csv").string()});
    EXPECT_TRUE(fs::is_symlink(folder / "link.csv"));
    EXPECT_EQ(read(real), kReversedRecords);

    // An output that is the source through a link is refused.
    const std::string source = write("quotes.txt", kQuote);
    fs::create_symlink(source, folder / "quotes2.csv");
    fs::create_hard_link(source, folder / "same.csv");
    for (const char* output : {"quotes2.csv", "same.csv"}) {
        EXPECT_EQ(click("fixup", {source, (folder / output).string()}),
                  "Error: " + programError(Failure::OutputIsSource).description());
        EXPECT_EQ(read(source), kQuote);
    }
    EXPECT_EQ(entries(folder), 5u);
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

// The import's dialog opens in the folder of the last price file, not on the last page saved.
TEST_F(PriceFileCommands, ImportStartsInTheFolderOfTheLastPriceFile) {
    globals.lastdialogfile = "/elsewhere/prediction.htm";
    globals.suggestedfile = "/data/prices.csv";
    click("importfile", {std::nullopt});
    ASSERT_EQ(platform.transcript.size(), 1u);
    EXPECT_NE(platform.transcript[0].find(" initial=\"/data/\" "), std::string::npos);
}

// The common conversions are in the convert scenario; here are the edges of the rules.
TEST(SpaceSeparatedToCsv, BlanksAfterTheDateBecomeCommas) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"01/02/03\t12.50\t12.75\t12.30", "01/02/03\t12.50\t12.75\t12.30"},
        // Blanks at the ends are trimmed; a line of twenty characters or fewer is dropped.
        {"  1/2/03 12.50 12.75 12.30", "1/2/03,12.50,12.75,12.30"},
        {std::string(21, ' '), std::string(12, ',')},
        {std::string(21, ','), ""},
        {"01/02/03 12.5 13 12 ", std::nullopt},
    };
    for (const auto& [line, csv] : cases) {
        EXPECT_EQ(csvFromSpaceSeparated(line), csv) << line;
    }
}

TEST_F(PriceFileCommands, OpenLeavesAFileWithMoreRecordsThanItCanOpenAsItWas) {
    std::string content = "Date,Open,High,Low,Close\r\n";
    for (int record = 0; record < 32888; ++record) {
        content += dayRecord(record);
    }
    const std::string path = write("toolarge.csv", content);
    click("open", {path});
    EXPECT_EQ(read(path), content);
    EXPECT_EQ(entries(), 1u);
}

// A run replaces a link planted as its working file instead of writing where it points.
TEST_F(PriceFileCommands, ARunWritesItsWorkingFileAfresh) {
    platform.folder = folder.string();
    const std::string victim = write("victim.txt", "keep\r\n");
    fs::create_symlink(victim, folder / "savescreen1.tmp");
    click("open", {write("prices.csv", kRecords)});
    globals.movementmode = true;
    click("predictchange", {});
    EXPECT_EQ(read(victim), "keep\r\n");
    EXPECT_FALSE(fs::is_symlink(folder / "savescreen1.tmp"));
}

TEST_F(PriceFileCommands, ARunSaysThatAWorkingFileItCannotWriteIsNotThePriceFile) {
    platform.folder = folder.string();
    fs::create_directory(folder / "savescreen1.tmp");
    click("open", {write("prices.csv", kRecords)});
    globals.movementmode = true;
    EXPECT_EQ(click("predictchange", {}),
              "Error Number: 21  Error is: Is a directory: the program's working file " +
                  (folder / "savescreen1.tmp").string() + " (not your price file)");
}

// Open confirms the program's own layout line by line, only where the recognition of the whole
// file would confirm it too; anything else goes to the recognition.
TEST(LayoutCheck, ConfirmsOnlyWhatTheRecognitionConfirms) {
    const std::string day1 = "01-Jan-2000,1,2,0.5,1.5";
    const std::string day2 = "02-Jan-2000,1.5,2,1,1.2";
    const std::string header = "Date,Open,High,Low,Close";
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{day1, day2}, true},
        {{"", "Prices", header, day1, "", day2, "", "end"}, true},
        {{"2000-01-03\t1\t2\t0.5\t1.5", "2000-01-04\t1.5\t2\t1\t1.2"}, true},
        {{"30-Jan-2000,1,2,0.5,1.5", "31-Jan-2000,1.5,2,1,1.2"}, true},
        {{"28-Feb-2001,1,2,0.5,1.5", "29-Feb-2001,1.5,2,1,1.2"}, false},  // a day Feb lacks
        {{"2000-01-03,1,2,0.5,1.5", "2000-01-04,1.5,2,1,1.2", "1-Feb-00,1,2,0.5,1.5",
          "2-Feb-00,1,2,0.5,1.5"},
         false},                // dates of another length
        {{day2, day1}, false},  // newest first
        {{day1, day1}, false},  // a repeated day
        {{"01-Jan-2000,1,2,.5,1.5", "02-Jan-2000,1.5,2,1,1.2"},
         false},                                                        // no digit before the point
        {{"01-Jan-2000,2,1,0.5,1.5"}, false},                           // Open above High
        {{"01-Jan-2000,1,2,1.5,1.2"}, false},                           // Low above Close
        {{"01/02/2000,1,2,0.5,1.5", "01/03/2000,1.5,2,1,1.2"}, false},  // the locale's order
        {{"2000-01-01 09:30,1,2,0.5,1.5"}, false},                      // a bar within the day
        {{"946684800,1,2,0.5,1.5"}, false},                             // unix time
        {{day1, "2000-01-02,1.5,2,1,1.2"}, false},                      // dates written two ways
        {{day1, day2 + ",1200"}, false},                                // a column beyond Close
        {{day1, "note", day2}, false},                                  // a note among the days
        {{header, "note", day1, day2}, false},  // a note between the header and the days
        {{day1, header, day2}, false},          // a header among the days
        {{"Date,Close,High,Low,Open", day1, day2}, false},  // Open and Close named the other way
        {{"01-Jan-2000,1,2,0.5,2", "02-Jan-2000,2,2,1,2"}, false},          // Close always High
        {{"01-Jan-2000,1,2,0.5,1.5", "02-Jan-2000,1.9,2,1,1.1"}, false},    // Open follows Open
        {{"01-Jan-2000,50,1000,1,60", "02-Jan-2000,60,1000,1,55"}, false},  // High far from Low
        {{day1, "02 Jan\"2000,1.5,2,1,1.2"},
         false},  // a quote, which a reader of quoted cells follows
    };
    for (const auto& [lines, confirmed] : cases) {
        LayoutCheck check;
        for (const std::string& line : lines) {
            if (isShortLine(line)) {
                check.shortLine(line);
            } else if (!check.day(line)) {
                check.header(line);
            }
        }
        EXPECT_EQ(check.confirmed(), confirmed) << lines.front() << " / " << lines.back();
    }
}

// Open and the in-memory readings take a file as it stands only where the records Open keeps are
// the days of its table, one for one.
TEST(AcceptHistory, TakesAsItStandsOnlyTheRecordsThatAreTheDays) {
    std::string days;
    std::string quotedDates;  // "Oct 10, 2024": a date that holds the separator
    std::string newestFirst;
    for (int day = 10; day < 19; ++day) {
        const std::string prices = ",10." + std::to_string(day) + ",11,9.5,10.5,HLT\r\n";
        days += std::to_string(day) + "-Oct-2024" + prices;
        newestFirst = std::to_string(day) + "-Oct-2024" + prices + newestFirst;
        quotedDates += "\"Oct " + std::to_string(day) + ", 2024\"" + prices;
    }
    // A record whose date reads as none, and a last line that Open drops as a header, for its
    // Open is no number, but that the recognition reads as a day (a narrow blank between digits).
    const std::string damaged = "09-Oct-2x024,10.9,11,9.5,10.5,HLT\r\n" + days +
                                "19-Oct-2024,1\u202f0.19,11,9.5,10.5,HLT\r\n";
    const std::string italian = "Data,Apertura,Massimo,Minimo,Chiusura,Titolo\r\n" + days;
    const std::string fewDays = days.substr(0, days.find("14-Oct"));
    // Read with the header's words, a column of Adj Close and a column that is no number leave
    // five days; the records alone, as Open would write them, only four.
    const std::string needsItsHeader =
        "Date,Open,High,Low,Close,Adj Close,Note\r\n2024-02-12,10.5,11,10.25,10.75,10.7,1\r\n"
        "2024-02-13,10.5,11,10.25,10.7571,.0,2\r\n2024-02-14,10.5,11,10.25,10.75,10.7,x\r\n"
        "2024-02-15,10.5,11,10.25,10.75,10.7,3\r\n2024-02-16,10.5,11,10.25,10.75,10.7,4\r\n";
    const std::pair<std::string, Verdict> cases[] = {
        {days, Verdict::Own},
        {"Date,Open,High,Low,Close,Ticker\r\n" + days, Verdict::Own},
        {italian, Verdict::Own},  // a header in words Open's own header test does not know
        {quotedDates, Verdict::Import},
        {damaged, Verdict::Refused},
        {needsItsHeader, Verdict::Refused},
        {fewDays, Verdict::Refused},
    };
    for (const auto& [text, verdict] : cases) {
        EXPECT_EQ(acceptHistory(text, false).verdict, verdict) << text;
    }
    // Open rewrites the file without its header, also where the user declines the import that
    // a newest-first file is offered; a file of too few days does not count it as a record.
    for (const std::string& records : {days, newestFirst, fewDays}) {
        const Acceptance withHeader =
            acceptHistory("Fecha,Apertura,Maximo,Minimo,Cierre,Ticker\r\n" + records, false);
        EXPECT_EQ(withHeader.recordCount, records == fewDays ? 4U : 9U);
        EXPECT_FALSE(withHeader.onlyRecords);
    }
    EXPECT_EQ(acceptHistory(damaged, false).refusalPhrase(),
              "Its lines hold 10 records and its table 10 days, but only 9 of the records are "
              "among those days.");
}

}  // namespace
}  // namespace aurelant
