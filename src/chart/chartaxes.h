#pragma once

#include <string>
#include <vector>

namespace aurelant {

// The price axis: from `low` to `high` in steps of a round number (1, 2, 2.5 or 5 times a power
// of ten), both ends on a step, its labels with `decimals` digits after the point.
struct PriceAxis {
    double low = 0;
    double high = 1;
    double step = 1;
    int decimals = 0;
};

// An axis over the prices from `low` to `high`, with room for the markers above and below and at
// most `mostTicks` steps.
PriceAxis priceAxis(double low, double high, int mostTicks);

// A labelled place on the date axis: a date number and its label.
struct DateTick {
    double date = 0;
    std::string label;
};

// Round dates between the date numbers `first` and `last`, at most `mostTicks` of them: days
// ("05-Jan-2026"), the first days of months ("Jan 2026") or of years ("2026"), in even steps.
std::vector<DateTick> dateTicks(double first, double last, int mostTicks);

}  // namespace aurelant
