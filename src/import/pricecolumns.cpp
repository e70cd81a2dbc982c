#include "import/pricecolumns.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/numtext.h"

namespace aurelant::import {
namespace {

constexpr double kNumberShare = 0.9;
constexpr std::size_t kMostNumberColumns = 32;
// Continuity that decides less clearly than this leaves a choice: the better pair's distance
// above this share of the other's.
constexpr double kClearContinuity = 0.8;
constexpr std::size_t kMostChoices = 3;  // as many as the preview offers

// Up to this many candidate columns are paired while they are read; more are first read to see
// which hold numbers, of which a table has no more than kMostNumberColumns.
constexpr std::size_t kMostPairedColumns = 40;

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

struct NumberColumn {
    std::size_t column = 0;
    bool whole = true;  // every value a whole number at or above zero
};

// The columns whose cells read as numbers, placeholders aside, read row by row: for every pair,
// whether the one stays at or above the other wherever both hold possible prices, and how far
// apart they are in all. No column's values are kept: a table of many narrow columns would take
// several times its size.
struct NumberColumns {
    std::vector<NumberColumn> columns;
    std::vector<char> above;     // columns × columns
    std::vector<double> widths;  // the sum of the one's values less the other's
    std::vector<char> farApart;  // too far apart to be a day's High and Low (tooFarApart)
    // How far the one's value on a dated row lies from the other's on the dated row before it,
    // summed over the file (forward), and the other's from the one's on the row before
    // (backward): the continuity of Open and Close where the days run in the file's order or in
    // its reverse.
    std::vector<double> forward;
    std::vector<double> backward;

    std::size_t at(std::size_t a, std::size_t b) const { return a * columns.size() + b; }
    bool isAbove(std::size_t a, std::size_t b) const { return above[at(a, b)] != 0; }
};

// A cell's number, NaN where it holds none.
double valueOf(std::string_view cell, NumberMarks marks, std::string& scratch) {
    return cellNumber(cell, marks, scratch).value_or(kMissing);
}

// Reads the `candidates` columns, pairing them where `paired`. A price that no market has is a
// slip that leaves its row out of a pair, not the column.
NumberColumns readNumberColumns(const Grid& grid, NumberMarks marks,
                                const std::vector<std::size_t>& candidates,
                                const std::vector<std::uint32_t>& chronological, bool paired) {
    const std::size_t count = candidates.size();
    std::vector<char> dated(paired ? grid.rows() : 0, 0);
    for (const std::uint32_t row : paired ? chronological : std::vector<std::uint32_t>{}) {
        dated[row] = 1;
    }
    std::vector<double> forward(paired ? count * count : 0, 0);
    std::vector<double> backward(forward.size(), 0);
    std::vector<double> previous(count, kMissing);  // the last dated row's
    std::vector<std::size_t> read(count, 0);
    std::vector<std::size_t> filled(count, 0);
    std::vector<char> whole(count, 1);
    std::vector<char> standing(paired ? count * count : 0, 1);  // no row against it yet
    std::vector<char> compared(standing.size(), 0);
    std::vector<double> widths(standing.size(), 0);
    std::vector<double> gaps(standing.size(), 0);   // a - b where both are possible prices
    std::vector<double> bases(standing.size(), 0);  // and b
    std::vector<double> values(count);
    std::string scratch;
    for (std::size_t row = 0; row < grid.rows(); ++row) {
        for (std::size_t index = 0; index < count; ++index) {
            const std::string_view cell = grid.at(row, candidates[index]);
            const double value = valueOf(cell, marks, scratch);  // no placeholder reads so
            values[index] = value;
            if (!std::isnan(value)) {
                ++read[index];
                whole[index] = whole[index] && value >= 0 && std::floor(value) == value;
            }
            filled[index] += !std::isnan(value) || !isPlaceholder(cell) ? 1 : 0;
        }
        if (!paired) {
            continue;
        }
        for (std::size_t one = 0, pair = 0; one < count; ++one) {
            for (std::size_t other = 0; other < count; ++other, ++pair) {
                const double a = values[one];
                const double b = values[other];
                if (dated[row]) {
                    const double ahead = a - previous[other];
                    const double behind = previous[one] - b;
                    forward[pair] += std::isnan(ahead) ? 0 : std::fabs(ahead);
                    backward[pair] += std::isnan(behind) ? 0 : std::fabs(behind);
                }
                if (!standing[pair] || one == other) {
                    continue;
                }
                widths[pair] += std::isnan(a - b) ? 0 : a - b;
                if (isPossiblePrice(a) && isPossiblePrice(b)) {  // NaN is none
                    standing[pair] = a >= b ? 1 : 0;
                    compared[pair] = 1;
                    gaps[pair] += a - b;
                    bases[pair] += b;
                }
            }
        }
        if (dated[row]) {
            previous = values;
        }
    }
    NumberColumns numbers;
    std::vector<std::size_t> kept;
    for (std::size_t index = 0; index < count; ++index) {
        if (read[index] > 0 &&
            static_cast<double>(read[index]) >= kNumberShare * static_cast<double>(filled[index])) {
            kept.push_back(index);
            numbers.columns.push_back({candidates[index], whole[index] != 0});
        }
    }
    for (const std::size_t a : paired ? kept : std::vector<std::size_t>{}) {
        for (const std::size_t b : kept) {
            const std::size_t pair = a * count + b;
            numbers.above.push_back(a != b && standing[pair] && compared[pair] ? 1 : 0);
            numbers.widths.push_back(widths[pair]);
            numbers.farApart.push_back(tooFarApart(gaps[pair], bases[pair]) ? 1 : 0);
            numbers.forward.push_back(forward[pair]);
            numbers.backward.push_back(backward[pair]);
        }
    }
    return numbers;
}

// The columns of numbers outside `notPrices`, paired unless there are more than a table has.
NumberColumns numberColumns(const Grid& grid, NumberMarks marks,
                            const std::vector<std::size_t>& notPrices,
                            const std::vector<std::uint32_t>& chronological) {
    std::vector<std::size_t> candidates;
    for (std::size_t column = 0; column < grid.width(); ++column) {
        if (std::find(notPrices.begin(), notPrices.end(), column) == notPrices.end()) {
            candidates.push_back(column);
        }
    }
    if (candidates.size() <= kMostPairedColumns) {
        return readNumberColumns(grid, marks, candidates, chronological, true);
    }
    NumberColumns numbers = readNumberColumns(grid, marks, candidates, chronological, false);
    if (numbers.columns.size() > kMostNumberColumns) {
        return numbers;
    }
    candidates.clear();
    for (const NumberColumn& column : numbers.columns) {
        candidates.push_back(column.column);
    }
    return readNumberColumns(grid, marks, candidates, chronological, true);
}

// For each pair, how far a day's Open lies from the previous day's Close, summed over the file;
// the pairs' cells read again, row by row in the order of the days.
std::vector<double> distances(const Grid& grid, NumberMarks marks,
                              const std::vector<OpenClose>& pairs,
                              const std::vector<std::uint32_t>& chronological) {
    std::vector<std::size_t> columns;
    for (const OpenClose& pair : pairs) {
        for (const std::size_t column : {pair.open, pair.close}) {
            if (std::find(columns.begin(), columns.end(), column) == columns.end()) {
                columns.push_back(column);
            }
        }
    }
    auto slot = [&](std::size_t column) {
        return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), column) -
                                        columns.begin());
    };
    std::vector<std::pair<std::size_t, std::size_t>> slots;  // each pair's Open and Close
    for (const OpenClose& pair : pairs) {
        slots.emplace_back(slot(pair.open), slot(pair.close));
    }
    std::vector<double> sums(pairs.size(), 0);
    std::vector<double> previous(columns.size(), kMissing);
    std::vector<double> current(columns.size());
    std::string scratch;
    for (std::size_t index = 0; index < chronological.size(); ++index) {
        for (std::size_t at = 0; at < columns.size(); ++at) {
            current[at] = valueOf(grid.at(chronological[index], columns[at]), marks, scratch);
        }
        for (std::size_t pair = 0; pair < slots.size() && index > 0; ++pair) {
            const double gap = current[slots[pair].first] - previous[slots[pair].second];
            sums[pair] += std::isnan(gap) ? 0 : std::fabs(gap);
        }
        std::swap(previous, current);
    }
    return sums;
}

struct Band {
    std::size_t high = 0;  // indexes into the number columns
    std::size_t low = 0;
    std::vector<std::size_t> inside;
    int named = 0;  // how many of High and Low the header names so
    // How many columns lie within the band on some days and beyond it on others: every price of
    // a day lies within its High and Low, as a closing bid lies within them though below High.
    std::size_t crossing = 0;
    double width = 0;
};

// The header's words first, then the band that fewer columns cross, then the narrower band (a
// day's rather than a year's); between bands alike (prices that touch), High before Low as this
// program writes them.
bool preferred(const Band& band, const Band& other, const std::vector<NumberColumn>& columns) {
    if (band.named != other.named) {
        return band.named > other.named;
    }
    if (band.crossing != other.crossing) {
        return band.crossing < other.crossing;
    }
    if (band.width != other.width) {
        return band.width < other.width;
    }
    auto inOrder = [&](const Band& b) { return columns[b.high].column < columns[b.low].column; };
    return inOrder(band) && !inOrder(other);
}

std::optional<Role> nameOf(const PriceEvidence& evidence, std::size_t column) {
    return column < evidence.named.size() ? evidence.named[column] : std::nullopt;
}

// The sums of how far each column's value lies from another's on the day before (forward or
// backward as the days run), none where the days run neither way.
const std::vector<double>* dayBeforeDistances(const NumberColumns& numbers,
                                              const std::vector<std::uint32_t>& days) {
    return std::is_sorted(days.begin(), days.end())     ? &numbers.forward
           : std::is_sorted(days.rbegin(), days.rend()) ? &numbers.backward
                                                        : nullptr;
}

// The columns that repeat another's value of the day before, as a previous close does.
std::vector<char> dayBeforeCopies(const NumberColumns& numbers,
                                  const std::vector<std::uint32_t>& days) {
    // A copy lies this much nearer the other's value of the day before than to its own.
    constexpr double kCopyShare = 0.05;
    const std::size_t count = numbers.columns.size();
    std::vector<char> copies(count, 0);
    const std::vector<double>* walked = dayBeforeDistances(numbers, days);
    for (std::size_t column = 0; column < count && walked; ++column) {
        for (std::size_t other = 0; other < count; ++other) {
            copies[column] |=
                other != column && (*walked)[numbers.at(column, other)] <=
                                       kCopyShare * (*walked)[numbers.at(column, column)];
        }
    }
    return copies;
}

// The columns that lie on either side of High, or of Low, on different days. A price of the day
// before that lies above High on some days and below Low on others is no price of the day: a
// previous close, which the days' gaps carry beyond both.
std::size_t crossingColumns(const NumberColumns& numbers, const std::vector<char>& dayBefore,
                            std::size_t high, std::size_t low) {
    auto crosses = [&](std::size_t bound, std::size_t other) {
        return !numbers.isAbove(bound, other) && !numbers.isAbove(other, bound);
    };
    std::size_t count = 0;
    for (std::size_t other = 0; other < numbers.columns.size(); ++other) {
        const bool above = crosses(high, other);
        const bool below = crosses(low, other);
        count += other != high && other != low && (above || below) &&
                 !(dayBefore[other] != 0 && above && below);
    }
    return count;
}

// Every High and Low pair with at least two columns between them on every row, the likeliest
// first (preferred).
std::optional<Band> bestBand(const NumberColumns& numbers, const PriceEvidence& evidence) {
    const std::vector<NumberColumn>& columns = numbers.columns;
    const std::size_t count = columns.size();
    const std::vector<char> dayBefore = dayBeforeCopies(numbers, evidence.chronological);
    std::optional<Band> best;
    for (std::size_t high = 0; high < count; ++high) {
        for (std::size_t low = 0; low < count; ++low) {
            if (!numbers.isAbove(high, low) || numbers.farApart[numbers.at(high, low)] != 0) {
                continue;
            }
            Band band;
            band.high = high;
            band.low = low;
            for (std::size_t other = 0; other < count; ++other) {
                if (other != high && other != low && numbers.isAbove(high, other) &&
                    numbers.isAbove(other, low)) {
                    band.inside.push_back(other);
                }
            }
            if (band.inside.size() < 2) {
                continue;
            }
            band.crossing = crossingColumns(numbers, dayBefore, high, low);
            band.named = (nameOf(evidence, columns[high].column) == Role::High ? 1 : 0) +
                         (nameOf(evidence, columns[low].column) == Role::Low ? 1 : 0);
            band.width = numbers.widths[numbers.at(high, low)];
            if (!best || preferred(band, *best, columns)) {
                best = band;
            }
        }
    }
    return best;
}

std::string count(std::size_t number, const char* one, const char* many) {
    return std::to_string(number) + " " + (number == 1 ? one : many);
}

// The pairs of Open and Close among the columns between High and Low, the likeliest first:
// those the header names, else by continuity.
std::vector<OpenClose> openCloseChoices(const Grid& grid, NumberMarks marks,
                                        const NumberColumns& numbers,
                                        const std::vector<std::size_t>& inside,
                                        const PriceEvidence& evidence) {
    const std::vector<NumberColumn>& columns = numbers.columns;
    std::vector<std::size_t> opens;
    std::vector<std::size_t> closes;
    std::vector<std::size_t> unnamed;
    for (const std::size_t index : inside) {
        const auto role = nameOf(evidence, columns[index].column);
        if (role == Role::Open) {
            opens.push_back(index);
        } else if (role == Role::Close) {
            closes.push_back(index);
        } else if (role != Role::AdjustedClose && role != Role::Known) {
            unnamed.push_back(index);
        }
    }
    opens = opens.empty() ? unnamed : opens;
    closes = closes.empty() ? unnamed : closes;
    std::vector<OpenClose> pairs;
    std::vector<std::size_t> at;  // each pair's place among the number columns' pairs
    auto pair = [&](const std::vector<std::size_t>& from, const std::vector<std::size_t>& to) {
        for (const std::size_t open : from) {
            for (const std::size_t close : to) {
                if (open != close) {
                    pairs.push_back({columns[open].column, columns[close].column});
                    at.push_back(numbers.at(open, close));
                }
            }
        }
    };
    pair(opens, closes);
    if (pairs.empty()) {
        pair(inside, inside);  // the words name only what cannot be both Open and Close
    }
    struct Scored {
        OpenClose pair;
        double distance;
    };
    // The sums read with the columns where the days run in the file's order or its reverse.
    const std::vector<double>* walked = dayBeforeDistances(numbers, evidence.chronological);
    const std::vector<double> sums =
        walked ? std::vector<double>{} : distances(grid, marks, pairs, evidence.chronological);
    std::vector<Scored> scored;
    for (std::size_t index = 0; index < pairs.size(); ++index) {
        scored.push_back({pairs[index], walked ? (*walked)[at[index]] : sums[index]});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored& a, const Scored& b) { return a.distance < b.distance; });
    std::vector<OpenClose> choices;
    for (const Scored& each : scored) {
        const bool close = each.distance * kClearContinuity <= scored.front().distance;
        if (choices.empty() || (close && choices.size() < kMostChoices)) {
            choices.push_back(each.pair);
        }
    }
    return choices;
}

}  // namespace

std::optional<PriceColumns> findPriceColumns(const Grid& grid, NumberMarks marks,
                                             const PriceEvidence& evidence,
                                             const std::optional<OpenClose>& chosen,
                                             std::string& problem) {
    const NumberColumns numbers =
        numberColumns(grid, marks, evidence.notPrices, evidence.chronological);
    const std::vector<NumberColumn>& columns = numbers.columns;
    if (columns.size() > kMostNumberColumns) {
        problem = "This file has " + std::to_string(columns.size()) +
                  " columns of numbers, more than a table of daily prices has.";
        return std::nullopt;
    }
    const std::optional<Band> band = bestBand(numbers, evidence);
    if (!band) {
        problem = "This file holds a date and " +
                  count(columns.size(), "number column", "number columns") +
                  (columns.size() == 1   ? ", which does not behave as a day's High and Low."
                   : columns.size() == 2 ? ", neither of which behaves as a day's High and Low."
                                         : ", none of which behave as a day's High and Low.");
        return std::nullopt;
    }
    PriceColumns prices;
    prices.high = columns[band->high].column;
    prices.low = columns[band->low].column;
    prices.choices = openCloseChoices(grid, marks, numbers, band->inside, evidence);
    prices.openClose = prices.choices.front();
    if (chosen &&
        std::find(prices.choices.begin(), prices.choices.end(), *chosen) != prices.choices.end()) {
        prices.openClose = *chosen;
    }
    if (prices.choices.size() == 1) {
        prices.choices.clear();
    }
    const std::size_t used[] = {prices.high, prices.low, prices.openClose.open,
                                prices.openClose.close};
    for (const NumberColumn& column : columns) {
        if (std::find(std::begin(used), std::end(used), column.column) != std::end(used)) {
            continue;
        }
        const auto role = nameOf(evidence, column.column);
        const bool firstWholeAfterPrices =
            !evidence.header && !prices.volume && column.whole &&
            column.column > *std::max_element(std::begin(used), std::end(used));
        if (!prices.volume && (role == Role::Volume || firstWholeAfterPrices)) {
            prices.volume = column.column;
            continue;
        }
        prices.leftOut.push_back(column.column);
        if (role == Role::Open || role == Role::High || role == Role::Low || role == Role::Close) {
            prices.misnamed.push_back(column.column);
        }
    }
    const std::pair<std::size_t, Role> given[] = {{prices.high, Role::High},
                                                  {prices.low, Role::Low},
                                                  {prices.openClose.open, Role::Open},
                                                  {prices.openClose.close, Role::Close}};
    for (const auto& [column, role] : given) {
        const auto named = nameOf(evidence, column);
        if (named && *named != role && *named != Role::Known) {
            prices.misnamed.push_back(column);
        }
    }
    return prices;
}

}  // namespace aurelant::import
