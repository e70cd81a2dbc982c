#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/dates.h"

// Where a price file's days come from on the web, and the address to ask for a span of days.
namespace aurelant::quotes {

enum class Provider { Yahoo, Binance, AlphaVantage, Url };

// "yahoo:SYMBOL", "binance:SYMBOL", "alphavantage:SYMBOL" or "url:TEMPLATE".
struct Source {
    Provider provider = Provider::Yahoo;
    std::string symbol;  // the template for Provider::Url

    std::string text() const;  // "provider:symbol", as the user writes it
    bool operator==(const Source&) const = default;
};

// The source that "provider:symbol" names, or what is wrong with it in `problem`.
std::optional<Source> parseSource(std::string_view text, std::string* problem = nullptr);

const char* providerName(Provider provider);
bool needsKey(Provider provider);

// The scheme, host and port a provider is asked at: its own, or the one in its environment
// variable (AURELANT_YAHOO_URL, AURELANT_BINANCE_URL, AURELANT_ALPHAVANTAGE_URL).
std::string baseAddress(Provider provider);

// The address that asks for the days from `from` to `to`, both included. `key` is the
// provider's key where it needs one.
std::string requestAddress(const Source& source, const CalendarDate& from, const CalendarDate& to,
                           const std::string& key = {});

// Seconds since 1970 at the start of a day (UTC), and the day of such a time.
long long unixTime(const CalendarDate& date);
CalendarDate dayOfUnixTime(long long seconds);
std::string isoDate(const CalendarDate& date);

}  // namespace aurelant::quotes
