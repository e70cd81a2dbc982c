#include "import/dailybars.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <deque>

#include "common/numtext.h"

namespace aurelant::import {
namespace {

// Whether the prediction can work with the price (see isPossiblePrice). Every price of up to
// twelve characters can, from .00000000001 to 999999999999: only longer ones are converted.
bool isPossiblePriceText(std::string_view price) {
    constexpr std::size_t kAlwaysPossible = 12;
    return price.size() <= kAlwaysPossible || isPossiblePrice(priceValue(price));
}

// The rows of one date that stand together in the file: those taken from its first to its last,
// by their position in it. Rows are counted in 32 bits: a row takes more than a byte of the text.
struct DayGroup {
    std::uint32_t day = 0;  // yyyymmdd
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint32_t high = 0;  // the first row of the highest High
    std::uint32_t low = 0;   // and of the lowest Low, once the rows are bars of one day
    std::uint32_t count = 0;
    bool timed = true;
    double volume = 0;

    bool joined() const { return timed && count > 1; }
};

// A deque, so that a file of many days never holds its groups twice while they grow.
using DayGroups = std::deque<DayGroup>;

// Reads rows with the marks that the whole file decided, each row's prices cleaned and converted
// into one reused buffer. Only the groups of rows are kept: a day's line reads its few rows again.
class RowReader {
  public:
    RowReader(const Grid& grid, const BarColumns& columns, NumberMarks marks,
              const std::vector<std::uint32_t>& days)
        : grid_(grid), columns_(columns), marks_(marks), days_(days) {}

    // Every row with a date and prices in its group, the others counted in `counts`; the
    // decorations of every row's prices noted.
    DayGroups groups(BarCounts& counts) {
        DayGroups groups;
        for (std::size_t row = 0; row < grid_.rows(); ++row) {
            const std::uint32_t day = days_[row];
            if (day == 0) {
                ++counts.rowsUnreadable;
                noteDecorations(row, 0, counts.decorations);
                continue;
            }
            if (!readPrices(row, counts)) {
                continue;
            }
            const bool timed = columns_.time.has_value() || holdsTime(grid_.at(row, columns_.date));
            if (groups.empty() || groups.back().day != day) {
                const auto position = static_cast<std::uint32_t>(row);
                groups.push_back({day, position, position, position, position, 0});
            }
            add(groups.back(), static_cast<std::uint32_t>(row), timed, counts.decorations);
        }
        return groups;
    }

    // The price of `role` (0 to 3: Open, High, Low, Close) of a row read before, written to
    // `out` as this program writes it.
    void appendPrice(std::size_t row, std::size_t role, std::string& out) {
        Decorations ignored;
        const std::string_view bare =
            bareNumber(grid_.at(row, columns_.prices[role]), ignored, scratch_);
        const std::size_t at = out.size();
        out.resize(at + bare.size());
        out.resize(at + writePriceText(bare, marks_, out.data() + at).value_or(0));
    }

  private:
    // The decorations of the row's prices from `role` on, and of its volume.
    void noteDecorations(std::size_t row, std::size_t role, Decorations& found) {
        for (; role < columns_.prices.size(); ++role) {
            bareNumber(grid_.at(row, columns_.prices[role]), found, scratch_);
        }
        if (columns_.volume) {
            const std::string_view volume =
                bareNumber(grid_.at(row, *columns_.volume), found, scratch_);
            found.suffixes = found.suffixes || hasSuffix(volume);
        }
    }

    // Reads the row's four prices into prices_; false, counted in `counts`, when one is no
    // possible price (no placeholder is).
    bool readPrices(std::size_t row, BarCounts& counts) {
        for (std::size_t role = 0; role < prices_.size(); ++role) {
            const std::string_view bare =
                bareNumber(grid_.at(row, columns_.prices[role]), counts.decorations, scratch_);
            std::string& price = prices_[role];
            price.resize(bare.size());
            const std::optional<std::size_t> length = writePriceText(bare, marks_, price.data());
            price.resize(length.value_or(0));
            if (!length || !isPossiblePriceText(price)) {
                noteDecorations(row, role + 1, counts.decorations);
                const bool placeholders = std::any_of(
                    columns_.prices.begin(), columns_.prices.end(),
                    [&](std::size_t column) { return isPlaceholder(grid_.at(row, column)); });
                ++(placeholders ? counts.rowsWithoutPrices : counts.rowsUnreadable);
                return false;
            }
        }
        return true;
    }

    // Adds a taken row to its group: its volume, and its High and Low where they may join bars.
    void add(DayGroup& group, std::uint32_t row, bool timed, Decorations& found) {
        ++group.count;
        group.last = row;
        group.timed = group.timed && timed;
        if (columns_.volume) {
            const std::string_view bare =
                bareNumber(grid_.at(row, *columns_.volume), found, scratch_);
            found.suffixes = found.suffixes || hasSuffix(bare);
            group.volume += volumeValue(bare, marks_, digits_).value_or(0);
        }
        if (!group.timed) {
            return;
        }
        const double high = priceValue(prices_[1]);
        const double low = priceValue(prices_[2]);
        if (group.count == 1 || high > high_) {
            group.high = row;
            high_ = high;
        }
        if (group.count == 1 || low < low_) {
            group.low = row;
            low_ = low;
        }
    }

    const Grid& grid_;
    const BarColumns& columns_;
    NumberMarks marks_;
    const std::vector<std::uint32_t>& days_;
    std::array<std::string, 4> prices_;
    double high_ = 0;  // the current group's highest High and lowest Low
    double low_ = 0;
    std::string scratch_;
    std::string digits_;
};

bool newestFirst(const DayGroups& groups) {
    std::size_t falling = 0;
    std::size_t rising = 0;
    for (std::size_t index = 1; index < groups.size(); ++index) {
        ++(groups[index].day < groups[index - 1].day ? falling : rising);
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

// "2024-02-07,10.5,11,10.25,10.75[,1200]", made in place from the date and ",10.5,11,10.25,10.75".
std::string dailyLine(const CalendarDate& date, std::string_view prices,
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
    std::string line(
        std::string_view("YYYY-MM-DD").size() + prices.size() + (volume ? 1 + volumeLength : 0),
        '-');
    char* out = writeDigits(line.data(), date.year, 4);  // years run from 1 to 9999
    out = writeDigits(out + 1, date.month, 2);
    out = writeDigits(out + 1, date.day, 2);
    out = std::copy(prices.begin(), prices.end(), out);
    if (volume) {
        *out++ = ',';
        std::copy(static_cast<const char*>(volumeText.data()), volumeEnd, out);
    }
    return line;
}

// Oldest first, each date's groups in the order of the file.
void sortGroups(DayGroups& groups, BarCounts& counts) {
    counts.reversed = newestFirst(groups);
    if (counts.reversed) {
        std::reverse(groups.begin(), groups.end());
    }
    auto earlier = [](const DayGroup& a, const DayGroup& b) { return a.day < b.day; };
    if (!std::is_sorted(groups.begin(), groups.end(), earlier)) {
        std::stable_sort(groups.begin(), groups.end(), earlier);
    }
    counts.dailyRecords = groups.empty() ? 0 : 1;
    for (std::size_t index = 1; index < groups.size(); ++index) {
        counts.dailyRecords += groups[index].day != groups[index - 1].day ? 1 : 0;
    }
}

// A group's prices, ",Open,High,Low,Close", into `prices`: bars within the day joined, else its
// one row's.
void groupPrices(const DayGroup& group, bool reversed, RowReader& reader, std::string& prices) {
    const std::uint32_t opening = reversed ? group.last : group.first;
    const std::uint32_t closing = reversed ? group.first : group.last;
    const bool joined = group.joined();
    const std::array<std::uint32_t, 4> rows{joined ? opening : closing,
                                            joined ? group.high : closing,
                                            joined ? group.low : closing, closing};
    prices.clear();
    for (std::size_t role = 0; role < rows.size(); ++role) {
        prices += ',';
        reader.appendPrice(rows[role], role, prices);
    }
}

// One daily bar a date, bars within the day joined, a repeated date the group that stands later
// in the file; none when the dates are more than `most`.
std::vector<DailyBar> joinedBars(DayGroups& groups, RowReader& reader, bool withVolume,
                                 std::size_t most, BarCounts& counts) {
    sortGroups(groups, counts);
    std::vector<DailyBar> days;
    if (counts.dailyRecords > most) {
        return days;
    }
    days.reserve(counts.dailyRecords);
    std::string prices;
    const DayGroup* previous = nullptr;
    for (const DayGroup& group : groups) {
        if (group.joined()) {
            counts.barsJoined += group.count;
            ++counts.joinedDays;
        } else {
            counts.repeatedDates += group.count - 1;
        }
        const bool repeated = previous && previous->day == group.day;
        counts.repeatedDates += repeated ? 1 : 0;
        if (!repeated || group.last > previous->last) {
            const CalendarDate date = dateOfDayNumber(group.day);
            groupPrices(group, counts.reversed, reader, prices);
            DailyBar bar{date, dailyLine(date, prices,
                                         withVolume ? std::optional(group.volume) : std::nullopt)};
            if (repeated) {
                days.back() = std::move(bar);
            } else {
                days.push_back(std::move(bar));
            }
        }
        previous = &group;
    }
    return days;
}

}  // namespace

std::vector<DailyBar> dailyBars(const Grid& grid, const BarColumns& columns, NumberMarks marks,
                                const std::vector<std::uint32_t>& days, std::size_t most,
                                BarCounts& counts) {
    RowReader reader(grid, columns, marks, days);
    DayGroups groups = reader.groups(counts);
    return joinedBars(groups, reader, columns.volume.has_value(), most, counts);
}

}  // namespace aurelant::import
