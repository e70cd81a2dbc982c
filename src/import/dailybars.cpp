#include "import/dailybars.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "common/numtext.h"

namespace aurelant::import {
namespace {

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

// Every row of the grid with its cells, each price's decorations noted.
std::vector<Row> gridRows(const Grid& grid, const BarColumns& columns, BarCounts& counts,
                          std::size_t& priceBytes) {
    std::vector<Row> rows(grid.rows());
    std::string scratch;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        Row& row = rows[index];
        row.date = grid.at(index, columns.date);
        row.barePrices = true;
        for (std::size_t price = 0; price < 4; ++price) {
            row.prices[price] = grid.at(index, columns.prices[price]);
            priceBytes += row.prices[price].size();
            const std::string_view bare =
                bareNumber(row.prices[price], counts.decorations, scratch);
            row.barePrices = row.barePrices && bare.data() == row.prices[price].data();
        }
        if (columns.volume) {
            row.volume = grid.at(index, *columns.volume);
            const std::string_view volume = bareNumber(row.volume, counts.decorations, scratch);
            counts.decorations.suffixes = counts.decorations.suffixes || hasSuffix(volume);
        }
        row.timed = columns.time.has_value() || holdsTime(row.date);
    }
    return rows;
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
    RowReader(std::size_t priceBytes, NumberMarks marks, NumericOrder order, DateWriting writing,
              bool withVolume)
        : marks_(marks),
          order_(order),
          writing_(writing),
          withVolume_(withVolume),
          prices_(std::make_unique_for_overwrite<char[]>(priceBytes)) {}

    // Replaces the row's price cells by its prices; its date, or nothing, counted in `evidence`,
    // for a row without a date or prices.
    std::optional<CalendarDate> read(Row& row, BarCounts& evidence) {
        const std::optional<DateCell> cell = readDateCell(row.date, order_);
        const std::optional<CalendarDate> date =
            cell && cell->writing == writing_ ? std::optional(cell->date) : std::nullopt;
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
    DateWriting writing_;
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

std::vector<DayGroup> readGroups(std::vector<Row>& rows, RowReader& reader, BarCounts& evidence) {
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
std::vector<DailyBar> joinedBars(std::vector<DayGroup>& groups, const std::vector<Row>& rows,
                                 RowReader& reader, bool withVolume, BarCounts& evidence) {
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

}  // namespace

std::vector<DailyBar> dailyBars(const Grid& grid, const BarColumns& columns, NumberMarks marks,
                                NumericOrder order, DateWriting writing, BarCounts& counts) {
    std::size_t priceBytes = 0;
    std::vector<Row> rows = gridRows(grid, columns, counts, priceBytes);
    RowReader reader(priceBytes, marks, order, writing, columns.volume.has_value());
    std::vector<DayGroup> groups = readGroups(rows, reader, counts);
    return joinedBars(groups, rows, reader, columns.volume.has_value(), counts);
}

}  // namespace aurelant::import
