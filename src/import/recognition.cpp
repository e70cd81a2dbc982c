#include "import/recognition.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>

namespace aurelant::import {
namespace {

constexpr std::size_t kSampleLines = 100;
constexpr std::size_t kHeaderSearch = 50;
constexpr std::size_t kFewestColumns = 5;
constexpr double kColumnShare = 0.8;
constexpr std::size_t kBinaryLook = 65536;
constexpr std::size_t kLongestLine = std::size_t{1} << 20;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::array<char, 4> kSeparators{',', ';', '\t', kBlankRuns};

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Calls `visit` with every line that is not blank, without its line end.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        const std::string_view line = text.substr(at, end - at);
        if (!isBlankLine(line) && !visit(line)) {
            return;
        }
        // A line ends in CR, LF or CR LF.
        at = end + (end < text.size() && text[end] == '\r' ? 1 : 0);
        at += at < text.size() && text[at] == '\n' ? 1 : 0;
    }
}

std::optional<std::string> textProblem(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        return "This file is written in UTF-16. Save it as UTF-8 or plain text and import it "
               "again.";
    }
    if (text.substr(0, kBinaryLook).find('\0') != std::string_view::npos) {
        return "This file is not a text file. A price file is plain text, one day a line.";
    }
    bool tooLong = false;
    forEachLine(text, [&](std::string_view line) {
        tooLong = line.size() > kLongestLine;
        return !tooLong;
    });
    if (tooLong) {
        return "This file has a line of more than a million characters, which no price file has.";
    }
    return std::nullopt;
}

// A volume such as "1.2K": a digit, then K, M or B.
bool hasSuffix(std::string_view bare) {
    return bare.size() > 1 &&
           std::string_view("KkMmBb").find(bare.back()) != std::string_view::npos &&
           std::isdigit(static_cast<unsigned char>(bare[bare.size() - 2]));
}

bool looksNumeric(std::string_view cell) {
    Decorations ignored;
    std::string bare = bareNumber(cell, ignored);
    if (hasSuffix(bare)) {
        bare.pop_back();
    }
    return bare.find_first_of("0123456789") != std::string::npos &&
           bare.find_first_not_of("0123456789.,") == std::string::npos;
}

bool looksIntegral(std::string_view cell) {
    Decorations ignored;
    const std::string bare = bareNumber(cell, ignored);
    return looksNumeric(cell) && bare.find('.') == std::string::npos;
}

bool looksLikeDate(std::string_view cell) {
    return cellDate(cell, NumericOrder::Lenient) || cellDate(cell, NumericOrder::DayFirst);
}

struct Sample {
    std::vector<std::string_view> lines;  // the first lines that are not blank

    explicit Sample(std::string_view text) {
        forEachLine(text, [this](std::string_view line) {
            lines.push_back(line);
            return lines.size() < kSampleLines;
        });
    }

    std::vector<std::vector<std::string_view>> rows(char separator, std::size_t from) const {
        std::vector<std::vector<std::string_view>> split(lines.size() -
                                                         std::min(from, lines.size()));
        for (std::size_t index = 0; index < split.size(); ++index) {
            splitFields(lines[from + index], separator, split[index]);
        }
        return split;
    }
};

std::size_t modalWidth(const std::vector<std::vector<std::string_view>>& rows) {
    std::map<std::size_t, std::size_t> widths;
    for (const auto& row : rows) {
        ++widths[row.size()];
    }
    const auto most =
        std::max_element(widths.begin(), widths.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == widths.end() ? 0 : most->first;
}

// The separator under which the most rows of the usual width hold numbers and dates: a comma
// splits the decimal commas of a ";" file into pieces that are neither.
char chooseSeparator(const Sample& sample) {
    char best = ',';
    std::size_t bestScore = 0;
    for (const char separator : kSeparators) {
        if (separator == kBlankRuns && bestScore > 0) {
            break;  // blanks inside the cells of a file with separators, as in "5 Feb 2024"
        }
        const auto rows = sample.rows(separator, 0);
        const std::size_t width = modalWidth(rows);
        if (width < kFewestColumns) {
            continue;
        }
        std::size_t score = 0;
        for (const auto& row : rows) {
            if (row.size() == width) {
                score +=
                    static_cast<std::size_t>(std::count_if(row.begin(), row.end(), [](auto cell) {
                        return looksNumeric(cell) || looksLikeDate(cell);
                    }));
            }
        }
        if (score > bestScore) {
            best = separator;
            bestScore = score;
        }
    }
    return best;
}

// Columns from the cells of a file without a header: the first column of dates, a time after
// it, the next four columns of numbers, and a column of whole numbers after them as the volume.
Columns columnsFromCells(const std::vector<std::vector<std::string_view>>& rows) {
    const std::size_t width = modalWidth(rows);
    auto share = [&](std::size_t column, bool (*test)(std::string_view)) {
        std::size_t total = 0;
        std::size_t passing = 0;
        for (const auto& row : rows) {
            if (row.size() == width) {
                ++total;
                passing += test(row[column]) ? 1 : 0;
            }
        }
        return total == 0 ? 0.0 : static_cast<double>(passing) / static_cast<double>(total);
    };
    Columns columns;
    std::size_t column = 0;
    while (column < width && share(column, looksLikeDate) < kColumnShare) {
        ++column;
    }
    if (column == width) {
        return columns;
    }
    columns[Role::Date] = column++;
    if (column < width &&
        share(column, [](std::string_view cell) { return holdsTime(cell); }) >= kColumnShare) {
        columns[Role::Time] = column++;
    }
    for (const Role role : {Role::Open, Role::High, Role::Low, Role::Close}) {
        while (column < width && share(column, looksNumeric) < kColumnShare) {
            ++column;
        }
        if (column == width) {
            return columns;
        }
        columns[role] = column++;
    }
    if (column < width && share(column, looksIntegral) >= kColumnShare) {
        columns[Role::Volume] = column;
    }
    return columns;
}

// The header line among the first lines, if the file has one: its position and columns.
struct Header {
    std::size_t line = 0;
    Columns columns;
};
std::optional<Header> findHeader(const Sample& sample, char separator) {
    std::vector<std::string_view> cells;
    for (std::size_t line = 0; line < std::min(kHeaderSearch, sample.lines.size()); ++line) {
        splitFields(sample.lines[line], separator, cells);
        if (const auto columns = headerColumns(cells)) {
            return Header{line, *columns};
        }
    }
    return std::nullopt;
}

constexpr std::array<Role, 4> kPriceRoles{Role::Open, Role::High, Role::Low, Role::Close};

// The cells of one data row that the columns point at.
struct RowCells {
    std::string_view date;
    std::array<std::string_view, 4> prices;
    std::optional<std::string_view> volume;
    bool timed = false;
};

class RowReader {
  public:
    RowReader(char separator, const Columns& columns) : separator_(separator), columns_(columns) {}

    std::optional<RowCells> read(std::string_view line) {
        splitFields(line, separator_, cells_);
        if (cells_.size() < columns_.width()) {
            return std::nullopt;
        }
        RowCells row;
        row.date = cells_[*columns_[Role::Date]];
        for (std::size_t index = 0; index < kPriceRoles.size(); ++index) {
            row.prices[index] = cells_[*columns_[kPriceRoles[index]]];
        }
        if (columns_[Role::Volume]) {
            row.volume = cells_[*columns_[Role::Volume]];
        }
        row.timed = columns_[Role::Time].has_value() || holdsTime(row.date);
        return row;
    }

  private:
    char separator_;
    const Columns& columns_;
    std::vector<std::string_view> cells_;
};

// Every data line of the file (after the header, if any).
template <typename Visit>
void forEachDataLine(std::string_view text, const std::optional<Header>& header, Visit visit) {
    std::size_t number = 0;
    forEachLine(text, [&](std::string_view line) {
        if (!header || number++ > header->line) {
            visit(line);
        }
        return true;
    });
}

// One pass over the data rows for what decides how every cell is read: the number marks and
// the dates that prove an order.
void tallyMarksAndOrder(std::string_view text, const std::optional<Header>& header,
                        RowReader& reader, Evidence& evidence, std::string& monthFirstProof) {
    MarkTally tally;
    forEachDataLine(text, header, [&](std::string_view line) {
        const std::optional<RowCells> row = reader.read(line);
        if (!row) {
            return;
        }
        for (const std::string_view price : row->prices) {
            tally.add(bareNumber(price, evidence.decorations));
        }
        if (row->volume) {
            const std::string volume = bareNumber(*row->volume, evidence.decorations);
            tally.add(volume);
            evidence.decorations.suffixes = evidence.decorations.suffixes || hasSuffix(volume);
        }
        if (evidence.dateExample.empty() && looksLikeDate(row->date)) {
            evidence.dateExample = unquoted(row->date);
        }
        if (const auto pair = leadingPair(row->date)) {
            evidence.numericDates = true;
            if (pair->first > 12 && evidence.orderProof.empty()) {
                evidence.orderProof = unquoted(row->date);
            }
            if (pair->second > 12 && monthFirstProof.empty()) {
                monthFirstProof = unquoted(row->date);
            }
        }
    });
    evidence.marks = tally.decide();
    evidence.marksAmbiguous = tally.ambiguous();
}

// The rows of one date that stand together in the file.
struct DayGroup {
    CalendarDate date;
    std::size_t lastRow = 0;  // position in the file, for "the later row wins"
    std::array<std::string_view, 4> first;
    std::array<std::string_view, 4> last;
    std::string_view high;
    std::string_view low;
    double highValue = 0;
    double lowValue = 0;
    double volume = 0;
    std::size_t rows = 0;
    bool timed = false;
};

double valueOf(const std::string& price) {
    double value = 0;
    std::from_chars(price.data(), price.data() + price.size(), value);
    return value;
}

void addRow(std::vector<DayGroup>& groups, const CalendarDate& date, const RowCells& row,
            const std::array<double, 4>& values, double volume, std::size_t position) {
    if (groups.empty() || groups.back().date != date) {
        groups.push_back({date, position, row.prices, row.prices, row.prices[1], row.prices[2],
                          values[1], values[2], 0, 0, row.timed});
    }
    DayGroup& group = groups.back();
    group.lastRow = position;
    group.last = row.prices;
    if (values[1] > group.highValue) {
        group.high = row.prices[1];
        group.highValue = values[1];
    }
    if (values[2] < group.lowValue) {
        group.low = row.prices[2];
        group.lowValue = values[2];
    }
    group.volume += volume;
    ++group.rows;
    group.timed = group.timed && row.timed;
}

std::vector<DayGroup> readGroups(std::string_view text, const std::optional<Header>& header,
                                 RowReader& reader, NumericOrder order, Evidence& evidence) {
    std::vector<DayGroup> groups;
    std::size_t position = 0;
    forEachDataLine(text, header, [&](std::string_view line) {
        ++position;
        const std::optional<RowCells> row = reader.read(line);
        const std::optional<CalendarDate> date = row ? cellDate(row->date, order) : std::nullopt;
        if (!date) {
            ++evidence.rowsUnreadable;
            return;
        }
        if (std::any_of(row->prices.begin(), row->prices.end(), isPlaceholder)) {
            ++evidence.rowsWithoutPrices;
            return;
        }
        std::array<double, 4> values{};
        for (std::size_t index = 0; index < values.size(); ++index) {
            Decorations ignored;
            const auto price = priceText(bareNumber(row->prices[index], ignored), evidence.marks);
            if (!price) {
                ++evidence.rowsUnreadable;
                return;
            }
            values[index] = valueOf(*price);
        }
        Decorations ignored;
        const double volume =
            row->volume ? volumeValue(bareNumber(*row->volume, ignored), evidence.marks).value_or(0)
                        : 0;
        addRow(groups, *date, *row, values, volume, position);
    });
    return groups;
}

bool newestFirst(const std::vector<DayGroup>& groups) {
    std::size_t falling = 0;
    std::size_t rising = 0;
    for (std::size_t index = 1; index < groups.size(); ++index) {
        ++(groups[index].date < groups[index - 1].date ? falling : rising);
    }
    return falling > rising;
}

std::string cleanPrice(std::string_view cell, NumberMarks marks) {
    Decorations ignored;
    return priceText(bareNumber(cell, ignored), marks).value_or("");
}

std::string volumeText(double volume) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, volume, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// One daily bar a group: bars within the day joined, a repeated date the later row.
std::vector<DailyBar> dailyBars(std::vector<DayGroup>& groups, bool withVolume,
                                Evidence& evidence) {
    evidence.reversed = newestFirst(groups);
    if (evidence.reversed) {
        std::reverse(groups.begin(), groups.end());
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const DayGroup& a, const DayGroup& b) { return a.date < b.date; });
    std::vector<DailyBar> days;
    const DayGroup* previous = nullptr;
    for (const DayGroup& group : groups) {
        const bool joined = group.timed && group.rows > 1;
        const auto& opening = evidence.reversed ? group.last : group.first;
        const auto& closing = evidence.reversed ? group.first : group.last;
        const auto& only = closing;  // a repeated date: the row that stands later in the file
        DailyBar bar{group.date,
                     {cleanPrice(joined ? opening[0] : only[0], evidence.marks),
                      cleanPrice(joined ? group.high : only[1], evidence.marks),
                      cleanPrice(joined ? group.low : only[2], evidence.marks),
                      cleanPrice(closing[3], evidence.marks)},
                     withVolume ? volumeText(group.volume) : std::string()};
        if (joined) {
            evidence.barsJoined += group.rows;
            ++evidence.joinedDays;
        } else {
            evidence.repeatedDates += group.rows - 1;
        }
        if (previous && previous->date == group.date) {
            ++evidence.repeatedDates;
            if (group.lastRow > previous->lastRow) {
                days.back() = std::move(bar);
            }
        } else {
            days.push_back(std::move(bar));
        }
        previous = &group;
    }
    return days;
}

std::string countText(std::size_t count) {
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

}  // namespace

Recognition recognise(std::string_view text, const Overrides& overrides) {
    Recognition result;
    if (const auto problem = textProblem(text)) {
        result.problem = *problem;
        return result;
    }
    Evidence& evidence = result.evidence;
    const Sample sample(text);
    evidence.separator = chooseSeparator(sample);
    const std::optional<Header> header = findHeader(sample, evidence.separator);
    if (header) {
        evidence.header = true;
        evidence.columns = header->columns;
        std::vector<std::string_view> names;
        splitFields(sample.lines[header->line], evidence.separator, names);
        for (const std::string_view name : names) {
            evidence.columnNames.emplace_back(unquoted(name));
        }
    } else {
        evidence.columns = columnsFromCells(sample.rows(evidence.separator, 0));
    }
    if (!evidence.columns.complete()) {
        result.problem = evidence.columns[Role::Date]
                             ? "This file has no " + evidence.columns.missing() + " column."
                             : "No column of this file holds dates.";
        return result;
    }
    RowReader reader(evidence.separator, evidence.columns);
    std::string monthFirstProof;
    tallyMarksAndOrder(text, header, reader, evidence, monthFirstProof);
    if (!evidence.orderProof.empty() && !monthFirstProof.empty() && !overrides.dayFirst) {
        result.problem = "The dates of this file fit neither day order: " + evidence.orderProof +
                         " puts the day first, " + monthFirstProof + " the month.";
        return result;
    }
    if (overrides.dayFirst) {
        evidence.dayFirst = *overrides.dayFirst;
        evidence.orderSource = OrderSource::User;
    } else if (!evidence.orderProof.empty() || !monthFirstProof.empty()) {
        evidence.dayFirst = !evidence.orderProof.empty();
        evidence.orderProof = evidence.dayFirst ? evidence.orderProof : monthFirstProof;
        evidence.orderSource = OrderSource::File;
    } else {
        evidence.dayFirst = overrides.localeDayFirst;
    }
    const NumericOrder order =
        evidence.dayFirst ? NumericOrder::DayFirst : NumericOrder::MonthFirst;
    std::vector<DayGroup> groups = readGroups(text, header, reader, order, evidence);
    result.days = dailyBars(groups, evidence.columns[Role::Volume].has_value(), evidence);
    if (result.days.size() < kFewestDailyRecords) {
        result.problem = "This file gives only " + countText(result.days.size()) +
                         " daily records; a prediction needs at least " +
                         std::to_string(kFewestDailyRecords) + ".";
    } else if (result.days.size() > kMostDailyRecords) {
        result.problem = "This file gives " + countText(result.days.size()) +
                         " daily records, more than the " + countText(kMostDailyRecords) +
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
        e.separator == ';',
        e.separator == kBlankRuns,
        e.marks.decimal == ',',
        d.quotes || d.currency || d.percent || d.suffixes || e.marks.thousands != 0,
        e.rowsWithoutPrices > 0,
        !ownColumns,
        e.dayFirst && e.numericDates && e.orderSource == OrderSource::File,
        e.joinedDays > 0,
        e.repeatedDates > 0,
        e.reversed,
    };
    std::vector<Difference> list;
    for (std::size_t index = 0; index < present.size(); ++index) {
        if (present[index]) {
            list.push_back(static_cast<Difference>(index));
        }
    }
    return list;
}

std::string dailyLine(const DailyBar& bar) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", bar.date.year, bar.date.month, bar.date.day);
    std::string line = date;
    for (const std::string& price : bar.prices) {
        line += ',';
        line += price;
    }
    if (!bar.volume.empty()) {
        line += ',';
        line += bar.volume;
    }
    return line;
}

std::vector<std::string> dailyLines(const Recognition& recognition) {
    std::vector<std::string> lines;
    lines.reserve(recognition.days.size());
    for (const DailyBar& bar : recognition.days) {
        lines.push_back(dailyLine(bar));
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
