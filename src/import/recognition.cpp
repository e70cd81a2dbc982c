#include "import/recognition.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <map>
#include <memory>

#include "common/lines.h"
#include "common/numtext.h"

namespace aurelant::import {
namespace {

constexpr std::size_t kSampleLines = 100;
constexpr std::size_t kHeaderSearch = 50;
constexpr std::size_t kFewestColumns = 5;
constexpr double kColumnShare = 0.8;
constexpr std::size_t kBinaryLook = 65536;
constexpr std::array<char, 4> kSeparators{',', ';', '\t', kBlankRuns};

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// Calls `visit` with every line that is not blank, without its line end.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    LineSplitter splitter(withoutByteOrderMark(text));
    for (std::string_view line; splitter.next(line);) {
        if (!isBlankLine(line) && !visit(line)) {
            return;
        }
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
    std::string scratch;
    std::string_view bare = bareNumber(cell, ignored, scratch);
    if (hasSuffix(bare)) {
        bare.remove_suffix(1);
    }
    return bare.find_first_of("0123456789") != std::string::npos &&
           bare.find_first_not_of("0123456789.,") == std::string::npos;
}

bool looksIntegral(std::string_view cell) {
    Decorations ignored;
    std::string scratch;
    return looksNumeric(cell) && bareNumber(cell, ignored, scratch).find('.') == std::string::npos;
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

    std::size_t meanLineLength() const {
        std::size_t length = 0;
        for (const std::string_view line : lines) {
            length += line.size() + 1;
        }
        return lines.empty() ? 1 : length / lines.size();
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

// One data row: the cells that the columns point at, and once read, its prices as this program
// writes them.
struct Row {
    std::string_view date;
    std::array<std::string_view, 4> prices;
    std::string_view volume;  // when the file has a volume column
    bool timed = false;
    bool barePrices = false;  // the price cells have nothing that bareNumber drops
    bool taken = false;       // read, with a date and prices
};

// The data rows of a file, each line split once, and what decides how every cell is read: the
// number marks and the dates that prove an order.
struct DataRows {
    std::vector<Row> rows;
    std::size_t tooShort = 0;    // lines with fewer cells than the columns need
    std::size_t priceBytes = 0;  // of all the price cells together
    std::string monthFirstProof;
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

class RowTally {
  public:
    explicit RowTally(Evidence& evidence, std::string& monthFirstProof)
        : evidence_(evidence),
          monthFirstProof_(monthFirstProof),
          withVolume_(evidence.columns[Role::Volume].has_value()) {}

    void add(Row& row) {
        row.barePrices = true;
        for (const std::string_view price : row.prices) {
            const std::string_view bare = bareNumber(price, evidence_.decorations, scratch_);
            marks_.add(bare);
            row.barePrices = row.barePrices && bare.data() == price.data();
        }
        if (withVolume_) {
            const std::string_view volume = bareNumber(row.volume, evidence_.decorations, scratch_);
            marks_.add(volume);
            evidence_.decorations.suffixes = evidence_.decorations.suffixes || hasSuffix(volume);
        }
        if (evidence_.dateExample.empty() && looksLikeDate(row.date)) {
            evidence_.dateExample = unquoted(row.date);
        }
        if (const auto pair = leadingPair(row.date)) {
            evidence_.numericDates = true;
            if (pair->first > 12 && evidence_.orderProof.empty()) {
                evidence_.orderProof = unquoted(row.date);
            }
            if (pair->second > 12 && monthFirstProof_.empty()) {
                monthFirstProof_ = unquoted(row.date);
            }
        }
    }

    void decide() {
        evidence_.marks = marks_.decide();
        evidence_.marksAmbiguous = marks_.ambiguous();
    }

  private:
    Evidence& evidence_;
    std::string& monthFirstProof_;
    bool withVolume_;
    MarkTally marks_;
    std::string scratch_;
};

DataRows readRows(std::string_view text, const Sample& sample, const std::optional<Header>& header,
                  const Columns& columns, Evidence& evidence) {
    DataRows data;
    data.rows.reserve(text.size() / sample.meanLineLength() + 1);
    RowTally tally(evidence, data.monthFirstProof);
    const std::size_t width = columns.width();
    std::vector<std::string_view> cells;
    forEachDataLine(text, header, [&](std::string_view line) {
        splitFields(line, evidence.separator, cells);
        if (cells.size() < width) {
            ++data.tooShort;
            return;
        }
        Row& row = data.rows.emplace_back();
        row.date = cells[*columns[Role::Date]];
        for (std::size_t index = 0; index < kPriceRoles.size(); ++index) {
            row.prices[index] = cells[*columns[kPriceRoles[index]]];
            data.priceBytes += row.prices[index].size();
        }
        if (columns[Role::Volume]) {
            row.volume = cells[*columns[Role::Volume]];
        }
        row.timed = columns[Role::Time].has_value() || holdsTime(row.date);
        tally.add(row);
    });
    tally.decide();
    return data;
}

// Whether the prediction can work with the price (see isPossiblePrice). Every price of up to
// twelve characters can, from .00000000001 to 999999999999: only longer ones are converted.
bool isPossiblePriceText(std::string_view price) {
    constexpr std::size_t kAlwaysPossible = 12;
    return price.size() <= kAlwaysPossible || isPossiblePrice(priceValue(price));
}

// Reads rows in the order and with the marks that the whole file decided, each price cleaned and
// converted once. The prices are kept in one buffer with room for all the price cells, which no
// price outgrows.
class RowReader {
  public:
    RowReader(std::size_t priceBytes, NumberMarks marks, NumericOrder order, bool withVolume)
        : marks_(marks),
          order_(order),
          withVolume_(withVolume),
          prices_(std::make_unique_for_overwrite<char[]>(priceBytes)) {}

    // Replaces the row's price cells by its prices; its date, or nothing, counted in `evidence`,
    // for a row without a date or prices.
    std::optional<CalendarDate> read(Row& row, Evidence& evidence) {
        const std::optional<CalendarDate> date = cellDate(row.date, order_);
        if (!date) {
            ++evidence.rowsUnreadable;
            return std::nullopt;
        }
        const std::optional<std::array<std::string_view, 4>> prices = pricesOf(row);
        if (!prices) {
            ++(std::any_of(row.prices.begin(), row.prices.end(), isPlaceholder)
                   ? evidence.rowsWithoutPrices
                   : evidence.rowsUnreadable);
            return std::nullopt;
        }
        row.prices = *prices;
        row.taken = true;
        return date;
    }

    double volume(const Row& row) {
        if (!withVolume_) {
            return 0;
        }
        Decorations ignored;
        return volumeValue(bareNumber(row.volume, ignored, scratch_), marks_, digits_).value_or(0);
    }

  private:
    // No placeholder is a price: a row with one fails here.
    std::optional<std::array<std::string_view, 4>> pricesOf(const Row& row) {
        char* next = prices_.get() + used_;
        std::array<std::string_view, 4> prices;
        for (std::size_t index = 0; index < prices.size(); ++index) {
            Decorations ignored;
            const std::string_view bare = row.barePrices
                                              ? row.prices[index]
                                              : bareNumber(row.prices[index], ignored, scratch_);
            const std::optional<std::size_t> length = writePriceText(bare, marks_, next);
            if (!length || !isPossiblePriceText(std::string_view(next, *length))) {
                return std::nullopt;
            }
            prices[index] = std::string_view(next, *length);
            next += *length;
        }
        used_ = static_cast<std::size_t>(next - prices_.get());
        return prices;
    }

    NumberMarks marks_;
    NumericOrder order_;
    bool withVolume_;
    std::unique_ptr<char[]> prices_;
    std::size_t used_ = 0;
    std::string scratch_;
    std::string digits_;
};

// The rows of one date that stand together in the file: those taken from its first to its last,
// by their position in it.
struct DayGroup {
    CalendarDate date;
    std::size_t first = 0;
    std::size_t last = 0;
};

std::vector<DayGroup> readGroups(std::vector<Row>& rows, RowReader& reader, Evidence& evidence) {
    std::vector<DayGroup> groups;
    groups.reserve(rows.size());
    for (std::size_t position = 0; position < rows.size(); ++position) {
        const std::optional<CalendarDate> date = reader.read(rows[position], evidence);
        if (!date) {
            continue;
        }
        if (groups.empty() || groups.back().date != *date) {
            groups.push_back({*date, position, position});
        }
        groups.back().last = position;
    }
    return groups;
}

// The rows of a group together.
struct GroupRows {
    std::size_t count = 0;
    bool timed = true;
    double volume = 0;
    std::size_t high = 0;  // the first row of the highest High
    std::size_t low = 0;   // and of the lowest Low, once the rows are bars of one day
    bool joined() const { return timed && count > 1; }
};

GroupRows groupRows(const DayGroup& group, const std::vector<Row>& rows, RowReader& reader) {
    GroupRows together{0, true, 0, group.first, group.first};
    for (std::size_t position = group.first; position <= group.last; ++position) {
        if (rows[position].taken) {
            ++together.count;
            together.timed = together.timed && rows[position].timed;
            together.volume += reader.volume(rows[position]);
        }
    }
    if (!together.joined()) {
        return together;
    }
    double high = priceValue(rows[group.first].prices[1]);
    double low = priceValue(rows[group.first].prices[2]);
    for (std::size_t position = group.first + 1; position <= group.last; ++position) {
        if (!rows[position].taken) {
            continue;
        }
        if (const double value = priceValue(rows[position].prices[1]); value > high) {
            together.high = position;
            high = value;
        }
        if (const double value = priceValue(rows[position].prices[2]); value < low) {
            together.low = position;
            low = value;
        }
    }
    return together;
}

bool newestFirst(const std::vector<DayGroup>& groups) {
    std::size_t falling = 0;
    std::size_t rising = 0;
    for (std::size_t index = 1; index < groups.size(); ++index) {
        ++(groups[index].date < groups[index - 1].date ? falling : rising);
    }
    return falling > rising;
}

// Writes `value` in `width` digits, zeros in front.
char* writeDigits(char* out, int value, int width) {
    for (int at = width - 1; at >= 0; --at, value /= 10) {
        out[at] = static_cast<char>('0' + value % 10);
    }
    return out + width;
}

// "2024-02-07,10.5,11,10.25,10.75[,1200]", made in place.
std::string dailyLine(const CalendarDate& date, const std::array<std::string_view, 4>& prices,
                      std::optional<double> volume) {
    // Room for any double written in full, the longest being the smallest: "0." and 340 digits.
    std::array<char, 400> volumeText;
    const char* volumeEnd = volumeText.data();
    if (volume) {
        volumeEnd = std::to_chars(volumeText.data(), volumeText.data() + volumeText.size(), *volume,
                                  std::chars_format::fixed)
                        .ptr;
    }
    const auto volumeLength = static_cast<std::size_t>(volumeEnd - volumeText.data());
    std::size_t length = std::string_view("YYYY-MM-DD").size() + (volume ? 1 + volumeLength : 0);
    for (const std::string_view price : prices) {
        length += 1 + price.size();
    }
    std::string line(length, '-');
    char* out = writeDigits(line.data(), date.year, 4);  // years run from 1 to 9999
    out = writeDigits(out + 1, date.month, 2);
    out = writeDigits(out + 1, date.day, 2);
    for (const std::string_view price : prices) {
        *out++ = ',';
        out = std::copy(price.begin(), price.end(), out);
    }
    if (volume) {
        *out++ = ',';
        std::copy(static_cast<const char*>(volumeText.data()), volumeEnd, out);
    }
    return line;
}

// One daily bar a group: bars within the day joined, a repeated date the later row.
std::vector<DailyBar> dailyBars(std::vector<DayGroup>& groups, const std::vector<Row>& rows,
                                RowReader& reader, bool withVolume, Evidence& evidence) {
    evidence.reversed = newestFirst(groups);
    if (evidence.reversed) {
        std::reverse(groups.begin(), groups.end());
    }
    auto earlier = [](const DayGroup& a, const DayGroup& b) { return a.date < b.date; };
    if (!std::is_sorted(groups.begin(), groups.end(), earlier)) {
        std::stable_sort(groups.begin(), groups.end(), earlier);
    }
    std::vector<DailyBar> days;
    days.reserve(groups.size());
    const DayGroup* previous = nullptr;
    for (const DayGroup& group : groups) {
        const GroupRows together = groupRows(group, rows, reader);
        const bool joined = together.joined();
        const auto& opening = rows[evidence.reversed ? group.last : group.first].prices;
        const auto& closing = rows[evidence.reversed ? group.first : group.last].prices;
        const auto& only = closing;  // a repeated date: the row that stands later in the file
        DailyBar bar{group.date,
                     dailyLine(group.date,
                               {joined ? opening[0] : only[0],
                                joined ? rows[together.high].prices[1] : only[1],
                                joined ? rows[together.low].prices[2] : only[2], closing[3]},
                               withVolume ? std::optional(together.volume) : std::nullopt)};
        if (joined) {
            evidence.barsJoined += together.count;
            ++evidence.joinedDays;
        } else {
            evidence.repeatedDates += together.count - 1;
        }
        if (previous && previous->date == group.date) {
            ++evidence.repeatedDates;
            if (group.last > previous->last) {
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
    DataRows data = readRows(text, sample, header, evidence.columns, evidence);
    const std::string& monthFirstProof = data.monthFirstProof;
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
    evidence.rowsUnreadable = data.tooShort;
    RowReader reader(data.priceBytes, evidence.marks,
                     evidence.dayFirst ? NumericOrder::DayFirst : NumericOrder::MonthFirst,
                     evidence.columns[Role::Volume].has_value());
    std::vector<DayGroup> groups = readGroups(data.rows, reader, evidence);
    result.days =
        dailyBars(groups, data.rows, reader, evidence.columns[Role::Volume].has_value(), evidence);
    if (result.days.size() < kFewestDailyRecords) {
        result.problem = "This file gives only " + countText(result.days.size()) +
                         (result.days.size() == 1 ? " daily record" : " daily records") +
                         "; a prediction needs at least " + std::to_string(kFewestDailyRecords) +
                         ".";
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
