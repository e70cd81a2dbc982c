#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/textfile.h"
#include "predict/fileprediction.h"
#include "quotes/updateall.h"

namespace aurelant {

// The watchlist's columns, in the order of their table in watchlist.cpp (the build checks it).
enum class WatchColumn {
    Name,
    LastDate,
    Records,
    Direction,
    Probability,
    CameTrue,
    Confident,
    PercentRight,
    PercentReached,
    Open,
    Level75,
    Level50,
    Level25,
    Remark,
    Updated,
};

// The stamp of a file as it is now; nothing for a file that is gone.
std::optional<FileStamp> stampOf(const std::string& path);

struct WatchRow {
    std::string path;
    std::string name;
    std::optional<double> open;  // typed by the user, for the levels
    FilePrediction prediction;
    std::optional<FileStamp> stamp;  // of the file when it was predicted
    bool pending = true;             // waits for its prediction
    std::string updated;             // the result of its last update from the web
};

// One column of the watchlist: all that the table, its sorting and the saved table know of it.
struct WatchColumnKind {
    WatchColumn column;
    const char* heading;
    // The figure a row sorts by, from the row and its cell; none for a column of text, which
    // sorts by its text.
    std::optional<double> (*figure)(const WatchRow& row, const std::string& cell);
    std::string (*cell)(const WatchRow& row);
    bool saved;  // in the saved table: not so what an action did, which says nothing of the file
};

// Every column, in the order shown.
std::span<const WatchColumnKind> watchColumns();
const WatchColumnKind& watchColumn(WatchColumn column);

// A prediction job: a row's file and the Open to use.
struct WatchJob {
    std::string path;
    std::optional<double> open;
};

// The watchlist: the next day's prediction of every price file in a folder, sortable and
// filtered, predicted again when a file changes. Files are predicted elsewhere (on other
// threads in the window) from the jobs this model hands out, and nothing is written.
class Watchlist {
  public:
    // Lists the price files of `folder` (*.csv, *.txt, *.tsv, *.prn, *.dat) by name; each waits
    // for its prediction. Returns what is wrong when the folder cannot be listed.
    std::optional<std::string> setFolder(const std::string& folder);
    const std::string& folder() const { return folder_; }

    std::size_t rowCount() const { return rows_.size(); }
    const WatchRow& row(std::size_t index) const { return rows_.at(index); }

    // The rows that wait for a prediction, as jobs.
    std::vector<WatchJob> pendingJobs() const;
    // A job's result, with the file's stamp taken before it was read. A result for a row whose
    // file or Open has changed since the job was handed out is left for the next one.
    void setPrediction(const WatchJob& job, FilePrediction prediction,
                       std::optional<FileStamp> stamp);

    // The files that remember a source on the web, to update.
    std::vector<quotes::FileJob> updateJobs() const;
    void setUpdated(const std::string& path, std::string result);

    // The Open typed into a row, read as every typed price is; an empty text clears it, and so
    // does a change of the file. False, with the row unchanged, for a text that is not a price.
    bool setOpen(std::size_t index, const std::string& text);
    // The question to ask before an Open typed into a row is used, when it lies more than half away
    // from the file's latest Close, as in the five-day panel; nothing otherwise.
    std::optional<std::string> farOpenQuestion(std::size_t index, const std::string& text) const;

    // Notices files added, removed or changed on disk since they were predicted: new and changed
    // ones wait for a prediction. Returns whether anything changed.
    bool refresh();

    void sortBy(WatchColumn column, bool ascending);
    void setConfidentOnly(bool only) { confidentOnly_ = only; }
    bool confidentOnly() const { return confidentOnly_; }
    // The rows to show, in the order to show them.
    std::vector<std::size_t> shownRows() const;

    std::string cell(std::size_t index, WatchColumn column) const;
    // The shown table as CSV, with a header row.
    std::string csv() const;

  private:
    WatchRow* rowOf(const std::string& path);
    // Whether row `a` is shown before row `b`.
    bool before(std::size_t a, std::size_t b) const;

    std::string folder_;
    std::vector<WatchRow> rows_;
    WatchColumn sortColumn_ = WatchColumn::Probability;
    bool ascending_ = false;
    bool confidentOnly_ = false;
};

}  // namespace aurelant
