// The watchlist's model: the files of a folder, the results that reach it, sorting, the filter,
// typed Opens and the files that change on disk.
#include <filesystem>

#include "predict/predictiontable.h"
#include "tempfolder.h"
#include "watchlist/watchlist.h"

namespace aurelant {
namespace {

class WatchlistTest : public TempFolderTest {
  protected:
    // Each waiting file gets a prediction of `probability` % (a refusal for "refused.csv").
    void predictAll() {
        for (const WatchJob& job : watchlist.pendingJobs()) {
            FilePrediction prediction;
            const std::string name = std::filesystem::path(job.path).filename().string();
            if (name == "refused.csv") {
                prediction.refusal = "only 3 records";
            } else {
                prediction.predicted = true;
                prediction.probability = probabilities.at(name);
                prediction.confident = std::stod(prediction.probability) >= 54;
            }
            watchlist.setPrediction(job, prediction, stampOf(job.path));
        }
    }
    std::vector<std::string> shownNames() const {
        std::vector<std::string> names;
        for (const std::size_t row : watchlist.shownRows()) {
            names.push_back(watchlist.cell(row, WatchColumn::Name));
        }
        return names;
    }

    Watchlist watchlist;
    std::map<std::string, std::string> probabilities{
        {"a.csv", "51.5"}, {"b.TXT", "57"}, {"c.dat", "9"}, {"d.csv", "60"}};
};

TEST_F(WatchlistTest, ListsPriceFilesSortsFiltersAndKeepsRefusals) {
    for (const char* name : {"b.TXT", "a.csv", "refused.csv", "c.dat", "notes.doc"}) {
        write(name, "x");
    }
    // The tables the program writes itself are no price files.
    write("saved.csv",
          "File,Last Date,Records,Direction,Probability %,Confident,% Right,"
          "% Reached,Open,75 %,50 %,25 %,Remark\r\nb.TXT,,0,UP,57,yes,,,,,,,\r\n");
    write("predictions.csv", predictionTableHeader() + "\nb.TXT,x\n");
    std::filesystem::create_directory(folder / "sub.csv");
    ASSERT_FALSE(watchlist.setFolder(folder.string()));
    EXPECT_EQ(watchlist.pendingJobs().size(), 4u);
    EXPECT_EQ(watchlist.cell(0, WatchColumn::Remark), "waiting");
    predictAll();
    EXPECT_TRUE(watchlist.pendingJobs().empty());
    // By probability, highest first, numerically; the refused file last, with its reason.
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"b.TXT", "a.csv", "c.dat", "refused.csv"}));
    EXPECT_EQ(watchlist.cell(watchlist.shownRows().back(), WatchColumn::Remark), "only 3 records");
    watchlist.sortBy(WatchColumn::Name, true);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"a.csv", "b.TXT", "c.dat", "refused.csv"}));
    watchlist.setConfidentOnly(true);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"b.TXT"});
    EXPECT_EQ(watchlist.csv(),
              "File,Last Date,Records,Direction,Probability %,Confident,% Right,% Reached,Open,"
              "75 %,50 %,25 %,Remark\r\nb.TXT,,0,UP,57,yes,,,,,,,\r\n");
    EXPECT_TRUE(watchlist.setFolder((folder / "missing").string()));
}

TEST_F(WatchlistTest, TypedOpensAndChangedFilesWaitForANewPrediction) {
    write("a.csv", "x");
    const std::string b = write("b.TXT", "x");
    ASSERT_FALSE(watchlist.setFolder(folder.string()));
    predictAll();
    EXPECT_FALSE(watchlist.setOpen(0, "abc"));
    EXPECT_FALSE(watchlist.setOpen(0, "-5"));
    EXPECT_TRUE(watchlist.pendingJobs().empty());
    EXPECT_FALSE(watchlist.setOpen(0, "1e13"));
    ASSERT_TRUE(watchlist.setOpen(0, " 101,5"));
    ASSERT_EQ(watchlist.pendingJobs().size(), 1u);
    EXPECT_EQ(watchlist.pendingJobs()[0].open, 101.5);
    // A result made for another Open is left for the next job.
    watchlist.setPrediction({watchlist.row(0).path, std::nullopt}, {},
                            stampOf(watchlist.row(0).path));
    EXPECT_EQ(watchlist.pendingJobs().size(), 1u);
    predictAll();
    ASSERT_TRUE(watchlist.setOpen(1, "7"));
    predictAll();
    EXPECT_FALSE(watchlist.refresh());
    write("b.TXT", "longer now");
    write("d.csv", "x");
    std::filesystem::remove(folder / "a.csv");
    EXPECT_TRUE(watchlist.refresh());
    ASSERT_EQ(watchlist.rowCount(), 2u);
    EXPECT_EQ(watchlist.pendingJobs().size(), 2u);  // the changed file and the new one
    EXPECT_EQ(watchlist.pendingJobs()[0].path, b);
    EXPECT_EQ(watchlist.pendingJobs()[0].open, std::nullopt);  // typed for the file as it was
}

}  // namespace
}  // namespace aurelant
