#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/dates.h"
#include "import/cells.h"

// The daily bars of a table once its columns are known: each row's prices read with the file's
// marks, rows without a date or prices counted and left out, bars within the day joined, a
// repeated date its later row, newest first turned oldest first.
namespace aurelant::import {

struct DailyBar {
    CalendarDate date;
    // "2024-02-07,10.5,11,10.25,10.75[,1200]": the date, Open, High, Low and Close as the source
    // writes them, and the volume when the file has one.
    std::string line;
};

// Where a row's date, time, prices (Open, High, Low, Close) and volume stand.
struct BarColumns {
    std::size_t date = 0;
    std::optional<std::size_t> time;
    std::array<std::size_t, 4> prices{};
    std::optional<std::size_t> volume;
};

// What became of the rows.
struct BarCounts {
    Decorations decorations;
    bool reversed = false;
    std::size_t rowsWithoutPrices = 0;
    std::size_t rowsUnreadable = 0;
    std::size_t barsJoined = 0;  // bars within the day, joined into
    std::size_t joinedDays = 0;  // this many days
    std::size_t repeatedDates = 0;
    std::size_t dailyRecords = 0;  // the dates the rows give
};

// The daily bars of the grid, oldest first, each row's day given in `days` as yyyymmdd (0 for a
// row without a date). None when the rows give more than `most` dates, which `counts` then gives.
std::vector<DailyBar> dailyBars(const Grid& grid, const BarColumns& columns, NumberMarks marks,
                                const std::vector<std::uint32_t>& days, std::size_t most,
                                BarCounts& counts);

}  // namespace aurelant::import
