#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/dates.h"
#include "import/cells.h"

// Finding the column of dates by its cells, whatever its name: the column whose cells read as
// dates written one way and run one way, oldest or newest first.
namespace aurelant::import {

struct DateColumn {
    std::size_t column = 0;
    DateWriting writing = DateWriting::YearFirst;
    bool timed = false;           // its cells hold a time of day too
    std::string dayFirstProof;    // the first date that only reads day first
    std::string monthFirstProof;  // the first that only reads month first
    std::string example;          // the first date, as the file writes it
    // The order in which alone dates that show none run one way; Lenient where both do.
    NumericOrder runOrder = NumericOrder::Lenient;
    std::size_t rising = 0;  // steps from one dated row to the next
    std::size_t falling = 0;
    std::vector<std::uint32_t> days;  // each row's day, as rowDays read it in daysOrder
    NumericOrder daysOrder = NumericOrder::Lenient;
};

// The column of dates of the grid, or nothing, `problem` saying why. The cells of NumbersFirst
// dates are read in `order`, leniently where the file leaves it open.
std::optional<DateColumn> findDateColumn(const Grid& grid, std::string& problem);

// The date column's steps, read in `order`: rising and falling counted in `column`, and the days
// kept.
void countSteps(const Grid& grid, DateColumn& column, NumericOrder order);

// Each row's day in the column, read once in `order`, as dayNumber gives it; 0 where the row has
// no date written as the column's are.
std::vector<std::uint32_t> rowDays(const Grid& grid, const DateColumn& column, NumericOrder order);

// Whether the dates run one way: no more than one step in a hundred against it.
bool runsOneWay(const DateColumn& column);

}  // namespace aurelant::import
