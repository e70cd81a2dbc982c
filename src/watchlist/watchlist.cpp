#include "watchlist/watchlist.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "predict/predictiontable.h"
#include "quotes/remembered.h"

namespace aurelant {
namespace fs = std::filesystem;
namespace {

constexpr std::array<const char*, kWatchColumns> kHeadings = {
    "File",      "Last Date", "Records", "Direction", "Probability %", "Confident", "% Right",
    "% Reached", "Open",      "75 %",    "50 %",      "25 %",          "Remark",    "Update"};

bool isPriceFileName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".csv" || extension == ".txt" || extension == ".tsv" ||
           extension == ".prn" || extension == ".dat";
}

std::string headingRow() {
    std::string row;
    for (std::size_t column = 0; column < kSavedColumns; ++column) {
        row += (column == 0 ? "" : ",") + csvField(kHeadings[column]);
    }
    return row;
}

// A table the program wrote itself, the watchlist's or the command line's, by its header row.
bool isOwnTable(const fs::path& path) {
    std::optional<std::string> first;
    try {
        first = readFirstLine(path.string());
    } catch (const AppError&) {
        return false;  // unreadable: listed, and its row says why
    }
    return first && (*first == headingRow() || *first == predictionTableHeader());
}

// The price files of a folder, sorted by name.
std::vector<fs::path> priceFiles(const std::string& folder, std::error_code& error) {
    std::vector<fs::path> files;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        if (entry->is_regular_file(ignored) && isPriceFileName(entry->path()) &&
            !isOwnTable(entry->path())) {
            files.push_back(entry->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A number cell's value for sorting; text cells and empty ones sort by their text.
std::optional<double> numberIn(const std::string& text) {
    try {
        return text.empty() ? std::nullopt : std::optional<double>(strictNumber(text));
    } catch (const AppError&) {
        return std::nullopt;
    }
}

std::string levelCell(const WatchRow& row, std::size_t level) {
    const FilePrediction& prediction = row.prediction;
    return prediction.predicted && prediction.levels ? prediction.levels->levels[level] : "";
}

std::string directionCell(const FilePrediction& prediction) {
    if (!prediction.predicted) {
        return "NONE";
    }
    return prediction.up ? "UP" : "DOWN";
}

// The cells that only a predicted file has.
std::string predictionCell(const WatchRow& row, WatchColumn column) {
    const FilePrediction& prediction = row.prediction;
    switch (column) {
        case WatchColumn::LastDate:
            return prediction.lastDate;
        case WatchColumn::Records:
            return std::to_string(prediction.records);
        case WatchColumn::Direction:
            return directionCell(prediction);
        case WatchColumn::Probability:
            return prediction.probability;
        case WatchColumn::Confident:
            return prediction.confident ? "yes" : "no";
        case WatchColumn::PercentRight:
            return prediction.percentRight;
        case WatchColumn::PercentReached:
            return prediction.percentReached;
        case WatchColumn::Level75:
            return levelCell(row, 0);
        case WatchColumn::Level50:
            return levelCell(row, 1);
        default:
            return levelCell(row, 2);
    }
}

}  // namespace

std::optional<FileStamp> stampOf(const std::string& path) {
    try {
        return fileStamp(path);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

std::optional<std::string> Watchlist::setFolder(const std::string& folder) {
    std::error_code error;
    const std::vector<fs::path> files = priceFiles(folder, error);
    if (error) {
        return "The folder " + folder + " cannot be read: " + error.message();
    }
    folder_ = folder;
    rows_.clear();
    for (const fs::path& file : files) {
        rows_.push_back({file.string(), file.filename().string(), std::nullopt, {}, {}, true, ""});
    }
    return std::nullopt;
}

std::vector<quotes::FileJob> Watchlist::updateJobs() const {
    std::vector<quotes::FileJob> jobs;
    for (const WatchRow& row : rows_) {
        if (const std::optional<quotes::Source> source = quotes::rememberedSource(row.path)) {
            jobs.push_back({row.path, *source, ""});
        }
    }
    return jobs;
}

void Watchlist::setUpdated(const std::string& path, std::string result) {
    if (WatchRow* row = rowOf(path)) {
        row->updated = std::move(result);
    }
}

std::vector<WatchJob> Watchlist::pendingJobs() const {
    std::vector<WatchJob> jobs;
    for (const WatchRow& row : rows_) {
        if (row.pending) {
            jobs.push_back({row.path, row.open});
        }
    }
    return jobs;
}

WatchRow* Watchlist::rowOf(const std::string& path) {
    const auto found = std::find_if(rows_.begin(), rows_.end(),
                                    [&path](const WatchRow& row) { return row.path == path; });
    return found == rows_.end() ? nullptr : &*found;
}

void Watchlist::setPrediction(const WatchJob& job, FilePrediction prediction,
                              std::optional<FileStamp> stamp) {
    WatchRow* row = rowOf(job.path);
    if (row == nullptr || row->open != job.open || stamp != stampOf(job.path)) {
        return;  // gone, or changed while it was read: a later job takes it
    }
    row->prediction = std::move(prediction);
    row->stamp = stamp;
    row->pending = false;
}

bool Watchlist::setOpen(std::size_t index, const std::string& text) {
    WatchRow& row = rows_.at(index);
    std::optional<double> open;
    if (!trimmed(text).empty()) {
        open = typedPrice(text);  // 58,5 is 58.5, as in the five-day panel
        if (!open) {
            return false;
        }
    }
    if (open != row.open) {
        row.open = open;
        row.pending = true;
    }
    return true;
}

bool Watchlist::refresh() {
    std::error_code error;
    const std::vector<fs::path> files = priceFiles(folder_, error);
    if (error) {
        return false;
    }
    std::vector<WatchRow> rows;
    bool changed = files.size() != rows_.size();
    for (const fs::path& file : files) {
        WatchRow* known = rowOf(file.string());
        WatchRow row =
            known != nullptr
                ? std::move(*known)
                : WatchRow{file.string(), file.filename().string(), std::nullopt, {}, {}, true, ""};
        if (!row.pending && row.stamp != stampOf(row.path)) {
            row.pending = true;
            row.open.reset();  // typed for the file's latest day, which has changed
        }
        changed = changed || known == nullptr || row.pending;
        rows.push_back(std::move(row));
    }
    rows_ = std::move(rows);
    return changed;
}

void Watchlist::sortBy(WatchColumn column, bool ascending) {
    sortColumn_ = column;
    ascending_ = ascending;
}

bool Watchlist::before(std::size_t a, std::size_t b) const {
    const std::string firstText = cell(a, sortColumn_);
    const std::string secondText = cell(b, sortColumn_);
    if (holdsFigures(sortColumn_)) {
        const std::optional<double> x = numberIn(firstText);
        const std::optional<double> y = numberIn(secondText);
        if (x.has_value() != y.has_value()) {
            return x.has_value();  // rows without a figure come last either way
        }
        if (x && *x != *y) {
            return ascending_ ? *x < *y : *x > *y;
        }
    } else if (firstText != secondText) {
        return ascending_ ? firstText < secondText : firstText > secondText;
    }
    return rows_[a].name < rows_[b].name;
}

std::vector<std::size_t> Watchlist::shownRows() const {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!confidentOnly_ || (rows_[i].prediction.predicted && rows_[i].prediction.confident)) {
            shown.push_back(i);
        }
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [this](std::size_t a, std::size_t b) { return before(a, b); });
    return shown;
}

bool Watchlist::holdsFigures(WatchColumn column) {
    return column != WatchColumn::Name && column != WatchColumn::LastDate &&
           column != WatchColumn::Direction && column != WatchColumn::Confident &&
           column != WatchColumn::Remark && column != WatchColumn::Updated;
}

const char* Watchlist::heading(WatchColumn column) {
    return kHeadings.at(static_cast<std::size_t>(column));
}

std::string Watchlist::cell(std::size_t index, WatchColumn column) const {
    const WatchRow& row = rows_.at(index);
    if (column == WatchColumn::Name) {
        return row.name;
    }
    if (column == WatchColumn::Open) {
        return row.open ? trimmedNumberText(*row.open) : "";
    }
    if (column == WatchColumn::Remark) {
        return row.pending ? "waiting" : row.prediction.refusal;
    }
    if (column == WatchColumn::Updated) {
        return row.updated;
    }
    if (row.pending || row.prediction.refused()) {
        return "";
    }
    return predictionCell(row, column);
}

std::string Watchlist::csv() const {
    std::string text = headingRow() + kLineEnd;
    for (const std::size_t index : shownRows()) {
        for (std::size_t column = 0; column < kSavedColumns; ++column) {
            text +=
                (column == 0 ? "" : ",") + csvField(cell(index, static_cast<WatchColumn>(column)));
        }
        text += kLineEnd;
    }
    return text;
}

}  // namespace aurelant
