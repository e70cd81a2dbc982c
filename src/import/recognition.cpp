#include "import/recognition.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

#include "import/body.h"
#include "import/datecolumn.h"

namespace aurelant::import {
namespace {

constexpr double kTimeShare = 0.8;

std::string countText(std::size_t count) {
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

Grid bodyGrid(std::string_view text, const Table& table) {
    Grid grid(text, table.width, table.separator);
    // Room for a row a line end, so that the cells are never copied to grow.
    const auto ends =
        static_cast<std::size_t>(std::max(std::count(table.body.begin(), table.body.end(), '\n'),
                                          std::count(table.body.begin(), table.body.end(), '\r')));
    grid.reserve(ends + 1);
    std::vector<std::string_view> cells;
    BodyLines lines(table.body);
    for (std::string_view line; lines.next(line);) {
        splitFields(line, table.separator, cells);
        if (cells.size() == table.width) {
            grid.add(cells);
        }
    }
    return grid;
}

// Each column's heading: the nearest header line's cell that says something.
void readHeader(const Table& table, Evidence& evidence, std::vector<std::optional<Role>>& named) {
    evidence.columnNames.assign(table.width, {});
    named.assign(table.width, std::nullopt);
    std::vector<std::string_view> cells;
    for (auto line = table.headerLines.rbegin(); line != table.headerLines.rend(); ++line) {
        splitFields(*line, table.separator, cells);
        for (std::size_t column = 0; column < cells.size() && column < table.width; ++column) {
            const std::string_view name = unquoted(cells[column]);
            if (evidence.columnNames[column].empty()) {
                evidence.columnNames[column] = name;
            }
            if (!named[column]) {
                named[column] = roleOfName(name);
            }
        }
    }
    evidence.header = !table.headerLines.empty();
}

void countSkipped(const Table& table, Evidence& evidence) {
    evidence.linesAbove = table.skippedAbove;
    evidence.linesBelow = table.skippedBelow;
    evidence.longLinesSkipped = table.longLinesSkipped;
}

// The body's cells, with the lines skipped and the header noted; the table's lines are let go
// before the cells are read.
std::optional<Grid> findGrid(std::string_view text, Evidence& evidence,
                             PriceEvidence& priceEvidence, std::string& problem) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {  // the cells' offsets
        problem = "This text is larger than 4 GB, more than any price history needs.";
        return std::nullopt;
    }
    const Table table = findTable(text, problem);
    if (!problem.empty()) {
        return std::nullopt;
    }
    evidence.separator = table.separator;
    countSkipped(table, evidence);
    readHeader(table, evidence, priceEvidence.named);
    priceEvidence.header = evidence.header;
    return bodyGrid(text, table);
}

// A column of times of day beside the dates.
std::optional<std::size_t> timeColumn(const Grid& grid, std::size_t dateColumn) {
    for (std::size_t column = 0; column < grid.width(); ++column) {
        std::size_t times = 0;
        if (column == dateColumn) {
            continue;
        }
        for (std::size_t row = 0; row < grid.rows(); ++row) {
            const std::string_view cell = grid.at(row, column);
            times += holdsTime(cell) && !readDateCell(cell, NumericOrder::Lenient) ? 1 : 0;
        }
        if (grid.rows() > 0 &&
            static_cast<double>(times) >= kTimeShare * static_cast<double>(grid.rows())) {
            return column;
        }
    }
    return std::nullopt;
}

// Whether a column's cells are written in quotes, as the program's own layout never writes them.
bool quotedColumn(const Grid& grid, std::size_t column) {
    for (std::size_t row = 0; row < grid.rows(); ++row) {
        if (grid.at(row, column).find('"') != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// The day order of dates written in numbers: the file's, the user's or the locale's.
bool decideOrder(const DateColumn& dates, const Overrides& overrides, Evidence& evidence,
                 std::string& problem) {
    evidence.numericDates = dates.writing == DateWriting::NumbersFirst;
    if (!evidence.numericDates) {
        evidence.orderSource = OrderSource::File;
        return true;
    }
    const std::string& dayProof = dates.dayFirstProof;
    const std::string& monthProof = dates.monthFirstProof;
    if (!dayProof.empty() && !monthProof.empty() && !overrides.dayFirst) {
        problem = "The dates of this file fit neither day order: " + dayProof +
                  " puts the day first, " + monthProof + " the month.";
        return false;
    }
    if (overrides.dayFirst) {
        evidence.dayFirst = *overrides.dayFirst;
        evidence.orderSource = OrderSource::User;
    } else if (!dayProof.empty() || !monthProof.empty()) {
        evidence.dayFirst = !dayProof.empty();
        evidence.orderProof = evidence.dayFirst ? dayProof : monthProof;
        evidence.orderSource = OrderSource::File;
    } else if (dates.runOrder != NumericOrder::Lenient) {
        evidence.dayFirst = dates.runOrder == NumericOrder::DayFirst;
        evidence.orderProof = "the dates run one way only so";
        evidence.orderSource = OrderSource::File;
    } else {
        evidence.dayFirst = overrides.localeDayFirst;
    }
    return true;
}

// The file's number marks, from every cell of numbers outside the dates and times, unless the
// file leaves the decimal mark to the user's choice.
void decideMarks(const Grid& grid, const std::vector<std::size_t>& skipped,
                 std::optional<char> chosenDecimal, Evidence& evidence) {
    MarkTally tally(evidence.separator);
    std::string scratch;
    for (std::size_t column = 0; column < grid.width(); ++column) {
        if (std::find(skipped.begin(), skipped.end(), column) != skipped.end()) {
            continue;
        }
        for (std::size_t row = 0; row < grid.rows(); ++row) {
            const std::string_view cell = grid.at(row, column);
            if (looksNumeric(cell)) {
                Decorations found;
                const std::string_view bare = bareNumber(cell, found, scratch);
                // A number in scientific notation shows its point to be a decimal one.
                tally.add(bare, found.exponents);
            }
        }
    }
    evidence.marksAmbiguous = tally.ambiguous();
    evidence.marksChosen = evidence.marksAmbiguous && chosenDecimal;
    evidence.marks = tally.decide(evidence.marksChosen ? chosenDecimal : std::nullopt);
}

// The rows with a date, oldest first.
std::vector<std::uint32_t> chronologicalRows(const std::vector<std::uint32_t>& days,
                                             const DateColumn& dates) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> dated;
    dated.reserve(days.size());
    for (std::size_t row = 0; row < days.size(); ++row) {
        if (days[row] != 0) {
            dated.emplace_back(days[row], static_cast<std::uint32_t>(row));
        }
    }
    if (dates.falling > dates.rising) {
        std::reverse(dated.begin(), dated.end());
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::uint32_t> rows(dated.size());
    std::transform(dated.begin(), dated.end(), rows.begin(),
                   [](const auto& d) { return d.second; });
    return rows;
}

void noteUses(const PriceColumns& prices, Evidence& evidence) {
    Columns& c = evidence.columns;
    c[Role::Open] = prices.openClose.open;
    c[Role::High] = prices.high;
    c[Role::Low] = prices.low;
    c[Role::Close] = prices.openClose.close;
    c[Role::Volume] = prices.volume;
    evidence.uses.assign(evidence.columnNames.size(), ColumnUse::Unread);
    for (const std::size_t column : prices.leftOut) {
        evidence.uses[column] = ColumnUse::LeftOut;
    }
    const std::pair<Role, ColumnUse> roles[] = {
        {Role::Date, ColumnUse::Date},    {Role::Time, ColumnUse::Time},
        {Role::Open, ColumnUse::Open},    {Role::High, ColumnUse::High},
        {Role::Low, ColumnUse::Low},      {Role::Close, ColumnUse::Close},
        {Role::Volume, ColumnUse::Volume}};
    for (const auto& [role, use] : roles) {
        if (c[role]) {
            evidence.uses[*c[role]] = use;
        }
    }
    evidence.openCloseChoices = prices.choices;
    evidence.misnamed = prices.misnamed;
}

}  // namespace

Recognition recognise(std::string_view bytes, const Overrides& overrides) {
    return recognise(decodeText(bytes), overrides);
}

Recognition recognise(const DecodedText& decoded, const Overrides& overrides) {
    Recognition result;
    Evidence& evidence = result.evidence;
    evidence.encoding = decoded.encoding;
    if (!decoded.problem.empty()) {
        result.problem = decoded.problem;
        return result;
    }
    PriceEvidence priceEvidence;
    const std::optional<Grid> body =
        findGrid(decoded.text(), evidence, priceEvidence, result.problem);
    if (!body) {
        return result;
    }
    const Grid& grid = *body;
    std::optional<DateColumn> dates = findDateColumn(grid, result.problem);
    if (!dates || !decideOrder(*dates, overrides, evidence, result.problem)) {
        return result;
    }
    evidence.dateWriting = dates->writing;
    evidence.dateExample = dates->example;
    evidence.columns[Role::Date] = dates->column;
    evidence.columns[Role::Time] = timeColumn(grid, dates->column);
    priceEvidence.notPrices.push_back(dates->column);
    if (evidence.columns[Role::Time]) {
        priceEvidence.notPrices.push_back(*evidence.columns[Role::Time]);
    }
    decideMarks(grid, priceEvidence.notPrices, overrides.decimalMark, evidence);
    const NumericOrder order =
        evidence.dayFirst ? NumericOrder::DayFirst : NumericOrder::MonthFirst;
    // The days as the date column was read, unless the order read them otherwise.
    std::vector<std::uint32_t> days = std::move(dates->days);
    if (dates->writing == DateWriting::NumbersFirst && dates->daysOrder != order) {
        days = rowDays(grid, *dates, order);
    }
    priceEvidence.chronological = chronologicalRows(days, *dates);
    const std::optional<PriceColumns> prices =
        findPriceColumns(grid, evidence.marks, priceEvidence, overrides.openClose, result.problem);
    if (!prices) {
        return result;
    }
    noteUses(*prices, evidence);
    BarColumns columns{dates->column,
                       evidence.columns[Role::Time],
                       {prices->openClose.open, prices->high, prices->low, prices->openClose.close},
                       prices->volume};
    result.days = dailyBars(grid, columns, evidence.marks, days, kMostHistoryRecords, evidence);
    evidence.decorations.quotes = evidence.decorations.quotes || quotedColumn(grid, dates->column);
    const std::size_t records = evidence.dailyRecords;
    if (records < kFewestRecords) {
        result.problem = "This file gives only " + countText(records) +
                         (records == 1 ? " daily record" : " daily records") +
                         "; a prediction needs at least " + std::to_string(kFewestRecords) + ".";
    } else if (records > kMostHistoryRecords) {
        result.problem = "This file gives " + countText(records) +
                         " daily records, more than the " + countText(kMostHistoryRecords) +
                         " that the program can open.";
    }
    return result;
}

std::vector<Difference> Recognition::differences() const {
    const Evidence& e = evidence;
    const Columns& c = e.columns;
    const bool ownColumns = c[Role::Date] == 0U && c[Role::Open] == 1U && c[Role::High] == 2U &&
                            c[Role::Low] == 3U && c[Role::Close] == 4U && !c[Role::Time];
    const Decorations& d = e.decorations;
    const std::array<bool, static_cast<std::size_t>(Difference::Count)> present{
        e.separator == ';' || e.separator == '|',
        e.separator == ' ',
        e.marks.decimal == ',',
        d.quotes || d.currency || d.percent || d.suffixes || d.exponents || e.marks.thousands != 0,
        e.rowsWithoutPrices > 0,
        !ownColumns,
        e.dayFirst && e.numericDates && e.orderSource == OrderSource::File,
        e.joinedDays > 0,
        e.repeatedDates > 0,
        e.reversed,
        e.encoding != Encoding::Utf8,
        e.longLinesSkipped > 0 || e.rowsUnreadable > 0,
    };
    std::vector<Difference> list;
    for (std::size_t index = 0; index < present.size(); ++index) {
        if (present[index]) {
            list.push_back(static_cast<Difference>(index));
        }
    }
    return list;
}

PriceTableCheck checkPriceTable(std::string_view text, bool localeDayFirst) {
    const Recognition recognition = recognise(text, {std::nullopt, localeDayFirst});
    PriceTableCheck check;
    check.priceTable = recognition.recognised();
    check.problem = recognition.problem;
    if (check.priceTable) {
        check.differences = recognition.differences();
        check.ownLayout = check.differences.empty();
    }
    return check;
}

std::vector<std::string> dailyLines(const Recognition& recognition) {
    std::vector<std::string> lines;
    lines.reserve(recognition.days.size());
    for (const DailyBar& bar : recognition.days) {
        lines.push_back(bar.line);
    }
    return lines;
}

std::vector<Difference> confirmedDifferences(const Recognition& recognition,
                                             const std::set<Difference>& signs) {
    std::vector<Difference> confirmed;
    if (recognition.recognised()) {
        for (const Difference difference : recognition.differences()) {
            if (signs.empty() || signs.contains(difference)) {
                confirmed.push_back(difference);
            }
        }
    }
    return confirmed;
}

}  // namespace aurelant::import
