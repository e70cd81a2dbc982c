#include "import/datecolumn.h"

#include <algorithm>
#include <array>
#include <utility>

namespace aurelant::import {
namespace {

constexpr std::size_t kLookedAt = 50;
constexpr double kDatedShare = 0.8;

// How the unix writings and the numbers of a spreadsheet rank behind written dates, should two
// columns both run one way.
int rankOf(DateWriting writing) {
    return writing >= DateWriting::UnixSeconds ? 1 : 0;
}

// The writing that most of the first cells of a column share, and whether enough of them do.
std::optional<DateWriting> likelyWriting(const Grid& grid, std::size_t column) {
    std::array<std::size_t, 8> counts{};
    std::size_t looked = 0;
    for (std::size_t row = 0; row < grid.rows() && looked < kLookedAt; ++row) {
        const std::string_view cell = grid.at(row, column);
        if (isPlaceholder(cell)) {
            continue;
        }
        ++looked;
        if (const auto date = readDateCell(cell, NumericOrder::Lenient)) {
            ++counts[static_cast<std::size_t>(date->writing)];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    if (looked == 0 || static_cast<double>(*most) < kDatedShare * static_cast<double>(looked)) {
        return std::nullopt;
    }
    return static_cast<DateWriting>(most - counts.begin());
}

// Reads the whole column in the writing: the dates that prove a day order, and an example.
DateColumn readColumn(const Grid& grid, std::size_t column, DateWriting writing) {
    DateColumn found;
    found.column = column;
    found.writing = writing;
    for (std::size_t row = 0; row < grid.rows(); ++row) {
        const std::string_view cell = grid.at(row, column);
        const auto date = readDateCell(cell, NumericOrder::Lenient);
        if (!date || date->writing != writing) {
            continue;
        }
        found.timed = found.timed || date->timed;
        if (found.example.empty()) {
            found.example = unquoted(cell);
        }
        if (writing == DateWriting::NumbersFirst) {
            if (date->first > 12 && found.dayFirstProof.empty()) {
                found.dayFirstProof = unquoted(cell);
            }
            if (date->second > 12 && found.monthFirstProof.empty()) {
                found.monthFirstProof = unquoted(cell);
            }
        }
    }
    return found;
}

NumericOrder provenOrder(const DateColumn& column) {
    if (!column.dayFirstProof.empty() && column.monthFirstProof.empty()) {
        return NumericOrder::DayFirst;
    }
    if (column.dayFirstProof.empty() && !column.monthFirstProof.empty()) {
        return NumericOrder::MonthFirst;
    }
    return NumericOrder::Lenient;
}

}  // namespace

void countSteps(const Grid& grid, DateColumn& column, NumericOrder order) {
    column.days = rowDays(grid, column, order);
    column.daysOrder = order;
    column.rising = 0;
    column.falling = 0;
    std::uint32_t previous = 0;
    for (const std::uint32_t day : column.days) {
        if (day == 0) {
            continue;
        }
        if (previous != 0 && day != previous) {
            ++(day > previous ? column.rising : column.falling);
        }
        previous = day;
    }
}

std::vector<std::uint32_t> rowDays(const Grid& grid, const DateColumn& column, NumericOrder order) {
    std::vector<std::uint32_t> days(grid.rows(), 0);
    for (std::size_t row = 0; row < grid.rows(); ++row) {
        const auto date = readDateCell(grid.at(row, column.column), order);
        if (date && date->writing == column.writing) {
            days[row] = dayNumber(date->date);
        }
    }
    return days;
}

bool runsOneWay(const DateColumn& column) {
    const std::size_t against = std::min(column.rising, column.falling);
    const std::size_t steps = column.rising + column.falling;
    return steps > 0 && against * 100 <= steps && (against == 0 || steps >= 100);
}

std::optional<DateColumn> findDateColumn(const Grid& grid, std::string& problem) {
    std::optional<DateColumn> best;
    bool datedColumn = false;
    for (std::size_t column = 0; column < grid.width(); ++column) {
        const std::optional<DateWriting> writing = likelyWriting(grid, column);
        if (!writing || (best && rankOf(*writing) >= rankOf(best->writing))) {
            continue;
        }
        datedColumn = true;
        DateColumn found = readColumn(grid, column, *writing);
        const NumericOrder order = provenOrder(found);
        countSteps(grid, found, order);
        bool oneWay = runsOneWay(found);
        if (!oneWay && order == NumericOrder::Lenient && *writing == DateWriting::NumbersFirst) {
            // Dates that leave the order open may run one way in one order only.
            for (const NumericOrder tried : {NumericOrder::DayFirst, NumericOrder::MonthFirst}) {
                DateColumn again = found;
                countSteps(grid, again, tried);
                if (!oneWay && runsOneWay(again)) {
                    found = again;
                    found.runOrder = tried;
                    oneWay = true;
                }
            }
        }
        if (oneWay) {
            best = std::move(found);
        }
    }
    if (!best) {
        problem = datedColumn ? "The dates of this file do not run one way, oldest or newest first."
                              : "No column of this file holds dates.";
    }
    return best;
}

}  // namespace aurelant::import
