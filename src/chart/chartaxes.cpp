#include "chart/chartaxes.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/dates.h"

namespace aurelant {
namespace {

constexpr double kRoomForMarkers = 0.06;  // of the prices' span, above and below

// The number of digits after the point that a step's multiples need.
int decimalsOf(double step) {
    int decimals = 0;
    while (decimals < 15 && std::abs(step - std::round(step)) > step * 1e-9) {
        step *= 10;
        ++decimals;
    }
    return decimals;
}

// Steps in days, then in months, then in years.
constexpr std::array<int, 3> kDaySteps = {1, 2, 7};
constexpr std::array<int, 5> kMonthSteps = {1, 2, 3, 6, 12};
constexpr std::array<int, 3> kYearMantissas = {1, 2, 5};
constexpr double kDaysInMonth = 30.44;

constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Weekly ticks fall on Mondays; 1 January 1900, day 2, was one.
constexpr double kAMonday = 2;

std::vector<DateTick> dayTicks(double first, double last, int step) {
    const double origin = step == 7 ? kAMonday : 0;
    std::vector<DateTick> ticks;
    for (double day = origin + std::ceil((first - origin) / step) * step; day <= last;
         day += step) {
        ticks.push_back({day, formatDate(dateFromNumber(day))});
    }
    return ticks;
}

// The first days of every `months`-th month (counted from January of year 0) in the span.
std::vector<DateTick> monthTicks(double first, double last, int months) {
    const CalendarDate start = dateFromNumber(first);
    long index =
        (static_cast<long>(start.year) * 12 + start.month - 1 + months - 1) / months * months;
    std::vector<DateTick> ticks;
    for (;; index += months) {
        const CalendarDate date{static_cast<int>(index / 12), static_cast<int>(index % 12) + 1, 1};
        const double day = dateNumber(date);
        if (day > last || date.year > 9999) {
            return ticks;
        }
        if (day >= first) {
            ticks.push_back({day, months % 12 == 0 ? std::to_string(date.year)
                                                   : std::string(kMonthNames[date.month - 1]) +
                                                         " " + std::to_string(date.year)});
        }
    }
}

}  // namespace

PriceAxis priceAxis(double low, double high, int mostTicks) {
    const double room = std::max(high - low, std::abs(high) * 0.01) * kRoomForMarkers;
    low = low >= 0 ? std::max(0.0, low - room) : low - room;  // prices that cannot go below zero
    high += room;
    if (!(high > low)) {
        high = low + 1;
    }
    const double rough = (high - low) / std::max(1, mostTicks);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double mantissa : {1.0, 2.0, 2.5, 5.0}) {
        if (mantissa * power >= rough) {
            step = mantissa * power;
            break;
        }
    }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step, decimalsOf(step)};
}

std::vector<DateTick> dateTicks(double first, double last, int mostTicks) {
    const double span = std::max(1.0, last - first);
    const double most = std::max(1, mostTicks);
    for (const int step : kDaySteps) {
        if (span / step <= most) {
            return dayTicks(first, last, step);
        }
    }
    for (const int months : kMonthSteps) {
        if (span / (months * kDaysInMonth) <= most) {
            return monthTicks(first, last, months);
        }
    }
    for (int power = 1;; power *= 10) {
        for (const int mantissa : kYearMantissas) {
            const int years = mantissa * power;
            if (span / (years * 12 * kDaysInMonth) <= most || years >= 10000) {
                return monthTicks(first, last, years * 12);
            }
        }
    }
}

}  // namespace aurelant
