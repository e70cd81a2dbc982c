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

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

struct NumberColumn {
    std::size_t column = 0;
    std::vector<double> values;  // a row's, NaN where the cell holds no number
    bool whole = true;           // every value a whole number at or above zero
};

// The columns whose cells read as numbers, placeholders aside.
std::vector<NumberColumn> numberColumns(const Grid& grid, NumberMarks marks,
                                        const std::vector<std::size_t>& notPrices) {
    std::vector<NumberColumn> columns;
    std::string scratch;
    for (std::size_t column = 0; column < grid.width(); ++column) {
        if (std::find(notPrices.begin(), notPrices.end(), column) != notPrices.end()) {
            continue;
        }
        NumberColumn numbers{column, std::vector<double>(grid.rows(), kMissing)};
        std::size_t read = 0;
        std::size_t filled = 0;
        for (std::size_t row = 0; row < grid.rows(); ++row) {
            const std::string_view cell = grid.at(row, column);
            if (const auto value = cellNumber(cell, marks, scratch)) {  // no placeholder reads so
                numbers.values[row] = *value;
                numbers.whole = numbers.whole && *value >= 0 && std::floor(*value) == *value;
                ++read;
                ++filled;
            } else if (!isPlaceholder(cell)) {
                ++filled;
            }
        }
        if (read > 0 && static_cast<double>(read) >= kNumberShare * static_cast<double>(filled)) {
            columns.push_back(std::move(numbers));
        }
    }
    return columns;
}

// Whether `a` is at or above `b` on every row where both hold possible prices, and there is one.
// A price that no market has is a slip that leaves its row out, not the column.
bool atOrAbove(const NumberColumn& a, const NumberColumn& b) {
    bool compared = false;
    for (std::size_t row = 0; row < a.values.size(); ++row) {
        const double above = a.values[row];
        const double below = b.values[row];
        if (!isPossiblePrice(above) || !isPossiblePrice(below)) {
            continue;  // NaN too
        }
        if (above < below) {
            return false;
        }
        compared = true;
    }
    return compared;
}

double bandWidth(const NumberColumn& high, const NumberColumn& low) {
    double sum = 0;
    for (std::size_t row = 0; row < high.values.size(); ++row) {
        const double width = high.values[row] - low.values[row];
        sum += std::isnan(width) ? 0 : width;
    }
    return sum;
}

// How far a day's `open` lies from the previous day's `close`, summed over the file.
double distance(const NumberColumn& open, const NumberColumn& close,
                const std::vector<std::uint32_t>& chronological) {
    double sum = 0;
    for (std::size_t index = 1; index < chronological.size(); ++index) {
        const double gap =
            open.values[chronological[index]] - close.values[chronological[index - 1]];
        sum += std::isnan(gap) ? 0 : std::fabs(gap);
    }
    return sum;
}

struct Band {
    std::size_t high = 0;  // indexes into the number columns
    std::size_t low = 0;
    std::vector<std::size_t> inside;
    int named = 0;  // how many of High and Low the header names so
    double width = 0;
};

// The header's words first, then the narrower band; between bands alike (prices that touch),
// High before Low as this program writes them.
bool preferred(const Band& band, const Band& other, const std::vector<NumberColumn>& columns) {
    if (band.named != other.named) {
        return band.named > other.named;
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

// Every High and Low pair with at least two columns between them on every row; the header's
// words first, then the narrowest.
std::optional<Band> bestBand(const std::vector<NumberColumn>& columns,
                             const PriceEvidence& evidence) {
    const std::size_t count = columns.size();
    std::vector<std::vector<char>> above(count, std::vector<char>(count, 0));
    for (std::size_t a = 0; a < count; ++a) {
        for (std::size_t b = 0; b < count; ++b) {
            above[a][b] = a != b && atOrAbove(columns[a], columns[b]) ? 1 : 0;
        }
    }
    std::optional<Band> best;
    for (std::size_t high = 0; high < count; ++high) {
        for (std::size_t low = 0; low < count; ++low) {
            if (!above[high][low]) {
                continue;
            }
            Band band;
            band.high = high;
            band.low = low;
            for (std::size_t other = 0; other < count; ++other) {
                if (other != high && other != low && above[high][other] && above[other][low]) {
                    band.inside.push_back(other);
                }
            }
            if (band.inside.size() < 2) {
                continue;
            }
            band.named = (nameOf(evidence, columns[high].column) == Role::High ? 1 : 0) +
                         (nameOf(evidence, columns[low].column) == Role::Low ? 1 : 0);
            band.width = bandWidth(columns[high], columns[low]);
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
std::vector<OpenClose> openCloseChoices(const std::vector<NumberColumn>& columns,
                                        const std::vector<std::size_t>& inside,
                                        const PriceEvidence& evidence) {
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
    struct Scored {
        OpenClose pair;
        double distance;
    };
    std::vector<Scored> scored;
    auto score = [&](const std::vector<std::size_t>& from, const std::vector<std::size_t>& to) {
        for (const std::size_t open : from) {
            for (const std::size_t close : to) {
                if (open != close) {
                    scored.push_back(
                        {{columns[open].column, columns[close].column},
                         distance(columns[open], columns[close], evidence.chronological)});
                }
            }
        }
    };
    score(opens, closes);
    if (scored.empty()) {
        score(inside, inside);  // the words name only what cannot be both Open and Close
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
    const std::vector<NumberColumn> columns = numberColumns(grid, marks, evidence.notPrices);
    if (columns.size() > kMostNumberColumns) {
        problem = "This file has " + std::to_string(columns.size()) +
                  " columns of numbers, more than a table of daily prices has.";
        return std::nullopt;
    }
    const std::optional<Band> band = bestBand(columns, evidence);
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
    prices.choices = openCloseChoices(columns, band->inside, evidence);
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
