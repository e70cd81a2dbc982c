#include "watchlist/watchlist.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "common/dates.h"
#include "common/errors.h"
#include "common/farprice.h"
#include "common/numtext.h"
#include "common/outlook.h"
#include "common/textfile.h"
#include "predict/predictiontable.h"
#include "quotes/remembered.h"

namespace aurelant {
namespace fs = std::filesystem;
namespace {

bool isPriceFileName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".csv" || extension == ".txt" || extension == ".tsv" ||
           extension == ".prn" || extension == ".dat";
}

// A row of the saved table, from each saved column's text.
template <typename Text>
std::string savedRow(Text text) {
    std::string row;
    const char* separator = "";
    for (const WatchColumnKind& kind : watchColumns()) {
        if (kind.saved) {
            row += separator + csvField(text(kind));
            separator = ",";
        }
    }
    return row;
}

std::string headingRow() {
    return savedRow([](const WatchColumnKind& kind) { return std::string(kind.heading); });
}

// A table the program wrote itself, the watchlist's or the command line's, by its header row.
bool isOwnTable(const fs::path& path) {
    std::optional<std::string> first;
    try {
        first = readFirstLine(path.string());
    } catch (const AppError&) {
        return false;  // unreadable: listed, and its row says why
    }
    // The watchlist's by its first headings, which its later columns leave as they are.
    return first && (first->starts_with(headingRow().substr(0, headingRow().find(",Records"))) ||
                     *first == predictionTableHeader());
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

// The lines at the start and at the end of a file, where its oldest and latest records stand.
std::vector<std::string> endLines(const std::string& path) {
    constexpr std::streamoff kEndBytes = 4096;
    std::ifstream file(path, std::ios::binary);
    const std::streamoff size = file.seekg(0, std::ios::end).tellg();
    std::vector<std::string> lines;
    if (size <= 0) {
        return lines;  // gone, unreadable or empty
    }
    for (const std::streamoff from :
         {std::streamoff{0}, std::max<std::streamoff>(0, size - kEndBytes)}) {
        std::string chunk(static_cast<std::size_t>(std::min(kEndBytes, size)), '\0');
        file.seekg(from).read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        std::istringstream text(chunk);
        for (std::string line; std::getline(text, line);) {
            if (line.ends_with('\r')) {
                line.pop_back();
            }
            lines.push_back(line);
        }
    }
    return lines;
}

// The cells of a line, split at its separators, or at its blanks when it has none.
std::vector<std::string> cellsOf(const std::string& line) {
    const std::string separators = line.find_first_of(",;\t|") == std::string::npos ? " " : ",;\t|";
    std::vector<std::string> cells;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t end = std::min(line.find_first_of(separators, start), line.size());
        cells.push_back(trimmed(line.substr(start, end - start)));
        start = end + 1;
    }
    return cells;
}

// The latest date as the file itself writes it. A file in another layout is predicted from the
// import's records, whose dates are written year first; its own text for the date is the cell of
// its first or last lines that reads as that day, in either order of day and month.
std::string dateAsWritten(const std::string& path, const std::string& date) {
    const std::optional<CalendarDate> day = parseDate(date);
    if (!day) {
        return date;
    }
    for (const std::string& line : endLines(path)) {
        for (const std::string& cell : cellsOf(line)) {
            for (const NumericOrder order : {NumericOrder::MonthFirst, NumericOrder::DayFirst}) {
                const std::optional<DateCell> read = readDateCell(cell, order);
                if (read && read->date == *day) {
                    return cell.size() > 1 && cell.front() == '"' && cell.back() == '"'
                               ? cell.substr(1, cell.size() - 2)
                               : cell;
                }
            }
        }
    }
    return date;
}

// A number cell's value for sorting; text cells and empty ones sort by their text.
std::optional<double> numberIn(const std::string& text) {
    try {
        return text.empty() ? std::nullopt : std::optional<double>(strictNumber(text));
    } catch (const AppError&) {
        return std::nullopt;
    }
}

std::optional<double> figureOfCell(const WatchRow&, const std::string& cell) {
    return numberIn(cell);
}

// A cell that only a predicted file has: empty while the file waits or when it was refused.
template <std::string (*text)(const FilePrediction&)>
std::string predictedCell(const WatchRow& row) {
    return row.pending || row.prediction.refused() ? "" : text(row.prediction);
}

template <std::size_t level>
std::string levelCell(const FilePrediction& prediction) {
    return prediction.predicted && prediction.levels ? prediction.levels->levels[level] : "";
}

// The back-test's predictions stated at the probability stated for the next day.
std::optional<Share> cameTrue(const WatchRow& row) {
    const FilePrediction& prediction = row.prediction;
    const std::optional<double> stated = numberIn(prediction.probability);
    if (!stated || row.pending || !prediction.predicted) {
        return std::nullopt;
    }
    for (const ProbabilityShare& each : prediction.calibration.byProbability()) {
        if (static_cast<float>(each.probability) == static_cast<float>(*stated)) {
            return each.share;
        }
    }
    return std::nullopt;
}

std::string cameTrueCell(const WatchRow& row) {
    const std::optional<Share> share = cameTrue(row);
    if (!share) {
        return "";
    }
    return std::to_string(std::lround(share->value() * 100)) + " % of " +
           std::to_string(share->predictions);
}

std::optional<double> cameTrueFigure(const WatchRow& row, const std::string&) {
    const std::optional<Share> share = cameTrue(row);
    return share ? std::optional<double>(share->value()) : std::nullopt;
}

constexpr std::array kColumns{
    WatchColumnKind{WatchColumn::Name, "File", nullptr,
                    [](const WatchRow& row) { return row.name; }, true},
    WatchColumnKind{WatchColumn::LastDate, "Last Date", nullptr,
                    predictedCell<[](const FilePrediction& p) { return p.lastDate; }>, true},
    WatchColumnKind{
        WatchColumn::Records, "Records", figureOfCell,
        predictedCell<[](const FilePrediction& p) { return std::to_string(p.records); }>, true},
    WatchColumnKind{WatchColumn::Direction, "Direction", nullptr,
                    predictedCell<[](const FilePrediction& p) -> std::string {
                        return directionName(p.predicted ? std::optional(p.up) : std::nullopt);
                    }>,
                    true},
    WatchColumnKind{WatchColumn::Probability, "Probability %", figureOfCell,
                    predictedCell<[](const FilePrediction& p) { return p.probability; }>, true},
    WatchColumnKind{WatchColumn::CameTrue, "Came True", cameTrueFigure, cameTrueCell, true},
    WatchColumnKind{WatchColumn::Confident, "Confident", nullptr,
                    predictedCell<[](const FilePrediction& p) -> std::string {
                        return p.confident ? "yes" : "no";
                    }>,
                    true},
    WatchColumnKind{WatchColumn::PercentRight, "% Right", figureOfCell,
                    predictedCell<[](const FilePrediction& p) { return p.percentRight; }>, true},
    WatchColumnKind{WatchColumn::PercentReached, "% Reached", figureOfCell,
                    predictedCell<[](const FilePrediction& p) { return p.percentReached; }>, true},
    WatchColumnKind{
        WatchColumn::Open, "Open", figureOfCell,
        [](const WatchRow& row) { return row.open ? trimmedNumberText(*row.open) : std::string(); },
        true},
    WatchColumnKind{WatchColumn::Level75, "75 %", figureOfCell, predictedCell<levelCell<0>>, true},
    WatchColumnKind{WatchColumn::Level50, "50 %", figureOfCell, predictedCell<levelCell<1>>, true},
    WatchColumnKind{WatchColumn::Level25, "25 %", figureOfCell, predictedCell<levelCell<2>>, true},
    // Why a file was refused, or that it waits for its prediction.
    WatchColumnKind{WatchColumn::Remark, "Remark", nullptr,
                    [](const WatchRow& row) {
                        return row.pending ? std::string("waiting") : row.prediction.refusal;
                    },
                    true},
    // What the last Update All did to the file.
    WatchColumnKind{WatchColumn::Updated, "Update", nullptr,
                    [](const WatchRow& row) { return row.updated; }, false},
};

constexpr bool inEnumOrder() {
    for (std::size_t index = 0; index < kColumns.size(); ++index) {
        if (kColumns[index].column != static_cast<WatchColumn>(index)) {
            return false;
        }
    }
    return kColumns.back().column == WatchColumn::Updated;
}
static_assert(inEnumOrder(), "the columns' table lists every column in its enum's order");

}  // namespace

std::span<const WatchColumnKind> watchColumns() {
    return kColumns;
}

const WatchColumnKind& watchColumn(WatchColumn column) {
    return kColumns.at(static_cast<std::size_t>(column));
}

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
    row->prediction.lastDate = dateAsWritten(row->path, row->prediction.lastDate);
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

std::optional<std::string> Watchlist::farOpenQuestion(std::size_t index,
                                                      const std::string& text) const {
    const double latestClose = rows_.at(index).prediction.latestClose;
    const std::optional<double> open = typedPrice(text);
    if (!open || !farFromLatestClose(*open, latestClose)) {
        return std::nullopt;
    }
    return farPriceQuestion("Open", text, latestClose, "Predict with it");
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
    const WatchColumnKind& kind = watchColumn(sortColumn_);
    const std::string firstText = kind.cell(rows_[a]);
    const std::string secondText = kind.cell(rows_[b]);
    if (kind.figure != nullptr) {
        const std::optional<double> x = kind.figure(rows_[a], firstText);
        const std::optional<double> y = kind.figure(rows_[b], secondText);
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

std::string Watchlist::cell(std::size_t index, WatchColumn column) const {
    return watchColumn(column).cell(rows_.at(index));
}

std::string Watchlist::csv() const {
    std::string text = headingRow() + kLineEnd;
    for (const std::size_t index : shownRows()) {
        text += savedRow([this, index](const WatchColumnKind& kind) {
                    return kind.cell(rows_[index]);
                }) +
                kLineEnd;
    }
    return text;
}

}  // namespace aurelant
