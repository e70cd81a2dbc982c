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
                prediction.latestClose = 100;
                prediction.probability = probabilities.at(name);
                prediction.confident = std::stod(prediction.probability) >= 54;
                // The back-test's judged predictions: 3 of 4 came true at 57 %, 1 of 1 at 60 %.
                for (const bool right : {true, true, false, true}) {
                    prediction.calibration.add(57, true, right, 2020);
                }
                prediction.calibration.add(60, false, true, 2021);
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
    // What came true at each file's stated probability, sorted by the share, not by its text;
    // a probability the back-test never stated has no figure.
    write("d.csv", "x");
    watchlist.refresh();
    predictAll();
    watchlist.sortBy(WatchColumn::CameTrue, false);
    EXPECT_EQ(shownNames(),
              (std::vector<std::string>{"d.csv", "b.TXT", "a.csv", "c.dat", "refused.csv"}));
    EXPECT_EQ(watchlist.cell(watchlist.shownRows()[0], WatchColumn::CameTrue), "100 % of 1");
    EXPECT_EQ(watchlist.cell(watchlist.shownRows()[1], WatchColumn::CameTrue), "75 % of 4");
    EXPECT_EQ(watchlist.cell(watchlist.shownRows()[2], WatchColumn::CameTrue), "");
    watchlist.setConfidentOnly(true);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"d.csv", "b.TXT"}));
    EXPECT_EQ(watchlist.csv(),
              "File,Last Date,Records,Direction,Probability %,Came True,Confident,% Right,"
              "% Reached,Open,75 %,50 %,25 %,Remark\r\nd.csv,,0,UP,60,100 % of 1,yes,,,,,,,\r\n"
              "b.TXT,,0,UP,57,75 % of 4,yes,,,,,,,\r\n");
    EXPECT_TRUE(watchlist.setFolder((folder / "missing").string()));
}

TEST_F(WatchlistTest, TypedOpensAndChangedFilesWaitForANewPrediction) {
    write("a.csv", "x");
    const std::string b = write("b.TXT", "x");
    ASSERT_FALSE(watchlist.setFolder(folder.string()));
    predictAll();
    // An Open more than half away from the latest Close is asked about, however it is typed.
    EXPECT_EQ(watchlist.farOpenQuestion(0, "49,5"),
              "The Open (49,5) differs from the latest Close (100) by more than half. Predict "
              "with it all the same?");
    for (const char* far : {"150.5", "1,000"}) {
        EXPECT_TRUE(watchlist.farOpenQuestion(0, far)) << far;
    }
    for (const char* near : {"50", "150", "abc"}) {
        EXPECT_FALSE(watchlist.farOpenQuestion(0, near)) << near;
    }
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

// A file in another layout is predicted from the import's records, dated year first; its row
// shows the latest date as the file itself writes it, wherever it stands.
TEST_F(WatchlistTest, ShowsTheLatestDateAsTheFileWritesIt) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Date;Open;High;Low;Close\r\n03/23/2026;1;2;0.5;1.5\r\n03/24/2026;1;2;0.5;1.5\r\n",
         "03/24/2026"},
        {"\"Date\",\"Close\",\"Open\"\n\"24.03.2026\",1,2\n\"23.03.2026\",1,2\n", "24.03.2026"},
        {"24-Mar-2026,1,2,0.5,1.5\n", "24-Mar-2026"},
        {"no date here\n", "2026-03-24"},
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        write("f" + std::to_string(i) + ".csv", files[i].first);
    }
    ASSERT_FALSE(watchlist.setFolder(folder.string()));
    for (const WatchJob& job : watchlist.pendingJobs()) {
        FilePrediction prediction;
        prediction.lastDate = "2026-03-24";
        watchlist.setPrediction(job, prediction, stampOf(job.path));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(watchlist.cell(i, WatchColumn::LastDate), files[i].second) << files[i].first;
    }
}

}  // namespace
}  // namespace aurelant
