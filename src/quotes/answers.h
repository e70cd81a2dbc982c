#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "common/dates.h"
#include "quotes/httpclient.h"
#include "quotes/source.h"

// The answers of the quote services read as daily bars.
namespace aurelant::quotes {

struct QuoteBar {
    CalendarDate date;
    std::array<std::optional<double>, 4> prices;  // Open, High, Low, Close; missing ones empty
    std::optional<double> volume;
};

struct Series {
    std::vector<QuoteBar> bars;  // in the source's order, oldest first; no day that is still open
    std::string problem;         // why the answer gives no prices; empty when it does
};

// Reads an answer of `provider`. An answer of 200 that is not data (a web page, a note in
// JSON, an empty series) gets a problem that says so, as does any other status. `now` tells
// which days are still open.
Series readAnswer(Provider provider, const HttpAnswer& answer,
                  std::chrono::system_clock::time_point now);

}  // namespace aurelant::quotes
