#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "import/cells.h"
#include "import/columns.h"

// Finding the prices by how they behave: High at or above the others on every row, Low at or
// below them, Open and Close between them; the header's words tell Open from Close where they
// name them, and where they do not, a day's Open lies nearer the previous day's Close.
namespace aurelant::import {

// Whether two columns lie too far apart to be a day's High and Low: over the file, the one more
// than ten times as far above the other as the other is above zero (from the sums of `high - low`
// and of `low` over the rows). No market's days span so much; a price and its market value, or a
// count and an amount, do.
inline constexpr double kWidestDays = 10;
inline bool tooFarApart(double spanSum, double lowSum) {
    return spanSum > kWidestDays * lowSum;
}

// Which column is Open and which Close, by the user's choice where content leaves it open.
struct OpenClose {
    std::size_t open = 0;
    std::size_t close = 0;
    bool operator==(const OpenClose&) const = default;
};

struct PriceColumns {
    std::size_t high = 0;
    std::size_t low = 0;
    OpenClose openClose;
    std::optional<std::size_t> volume;
    // The pairs of Open and Close that content and words leave to choose from, the one taken
    // first; empty when there is no choice.
    std::vector<OpenClose> choices;
    std::vector<std::size_t> leftOut;  // columns of numbers that are not prices of the day
    // Columns whose header names a price that content gives another, or none.
    std::vector<std::size_t> misnamed;
};

// What the table's columns are called (nothing where the header is silent or missing) and the
// rows, oldest first, in which to judge continuity.
struct PriceEvidence {
    std::vector<std::optional<Role>> named;
    std::vector<std::uint32_t> chronological;
    std::vector<std::size_t> notPrices;  // the date's and time's columns
    bool header = false;
};

// The price columns of the grid read with `marks`; nothing when no columns behave as a day's
// High and Low, `problem` then saying what the table holds instead. `chosen` is the user's
// pick among the choices.
std::optional<PriceColumns> findPriceColumns(const Grid& grid, NumberMarks marks,
                                             const PriceEvidence& evidence,
                                             const std::optional<OpenClose>& chosen,
                                             std::string& problem);

}  // namespace aurelant::import
