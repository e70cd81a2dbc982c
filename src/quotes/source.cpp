#include "quotes/source.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace aurelant::quotes {
namespace {

struct ProviderInfo {
    Provider provider;
    const char* name;
    const char* variable;  // replaces the base address
    const char* address;
};

constexpr std::array<ProviderInfo, 3> kProviders{{
    {Provider::Yahoo, "yahoo", "AURELANT_YAHOO_URL", "https://query1.finance.yahoo.com"},
    {Provider::Binance, "binance", "AURELANT_BINANCE_URL", "https://api.binance.com"},
    {Provider::AlphaVantage, "alphavantage", "AURELANT_ALPHAVANTAGE_URL",
     "https://www.alphavantage.co"},
}};

constexpr long long kSecondsADay = 86400;
constexpr double kUnixEpochDay = 25569;  // 1 January 1970 in days from 30 December 1899
constexpr std::size_t kLongestSymbol = 40;
// Alpha Vantage's short answer holds the latest 100 trading days, about 140 calendar days.
constexpr long long kCompactSpanDays = 130;

const ProviderInfo* infoOf(Provider provider) {
    for (const ProviderInfo& info : kProviders) {
        if (info.provider == provider) {
            return &info;
        }
    }
    return nullptr;
}

// Letters, digits and "-._~" stand as they are in an address; every other byte is escaped.
std::string escaped(std::string_view text) {
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            out += code;
        }
    }
    return out;
}

bool plainSymbol(std::string_view symbol) {
    if (symbol.empty() || symbol.size() > kLongestSymbol) {
        return false;
    }
    for (const unsigned char c : symbol) {
        if (c <= ' ' || c >= 0x7F) {
            return false;
        }
    }
    return true;
}

void replaceAll(std::string& text, std::string_view name, const std::string& value) {
    for (std::size_t at = text.find(name); at != std::string::npos;
         at = text.find(name, at + value.size())) {
        text.replace(at, name.size(), value);
    }
}

}  // namespace

const char* providerName(Provider provider) {
    const ProviderInfo* info = infoOf(provider);
    return info != nullptr ? info->name : "url";
}

bool needsKey(Provider provider) {
    return provider == Provider::AlphaVantage;
}

std::string Source::text() const {
    return std::string(providerName(provider)) + ":" + symbol;
}

std::optional<Source> parseSource(std::string_view text, std::string* problem) {
    const auto fail = [&](const std::string& why) -> std::optional<Source> {
        if (problem != nullptr) {
            *problem = why;
        }
        return std::nullopt;
    };
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    const std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    if (name == "url") {
        if (!rest.starts_with("http://") && !rest.starts_with("https://")) {
            return fail("a url: source needs an address that starts with http:// or https://");
        }
        return Source{Provider::Url, std::string(rest)};
    }
    for (const ProviderInfo& info : kProviders) {
        if (name == info.name) {
            if (!plainSymbol(rest)) {
                return fail(std::string("a symbol is needed, without blanks, as in ") + info.name +
                            (info.provider == Provider::Binance ? ":BTCUSDT" : ":IBM"));
            }
            return Source{info.provider, std::string(rest)};
        }
    }
    return fail("a source is yahoo:SYMBOL, binance:SYMBOL, alphavantage:SYMBOL or url:ADDRESS");
}

std::string baseAddress(Provider provider) {
    const ProviderInfo* info = infoOf(provider);
    if (info == nullptr) {
        return {};
    }
    const char* replaced = std::getenv(info->variable);
    std::string address = replaced != nullptr && *replaced != '\0' ? replaced : info->address;
    while (address.ends_with('/')) {
        address.pop_back();
    }
    return address;
}

long long unixTime(const CalendarDate& date) {
    return static_cast<long long>(dateNumber(date) - kUnixEpochDay) * kSecondsADay;
}

CalendarDate dayOfUnixTime(long long seconds) {
    const long long days =
        seconds >= 0 ? seconds / kSecondsADay : -((-seconds + kSecondsADay - 1) / kSecondsADay);
    return dateFromNumber(static_cast<double>(days) + kUnixEpochDay);
}

std::string isoDate(const CalendarDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string requestAddress(const Source& source, const CalendarDate& from, const CalendarDate& to,
                           const std::string& key) {
    const std::string base = baseAddress(source.provider);
    const long long start = unixTime(from);
    const long long end = unixTime(to) + kSecondsADay;  // the end of the last day
    const std::string symbol = escaped(source.symbol);
    switch (source.provider) {
        case Provider::Yahoo:
            return base + "/v8/finance/chart/" + symbol + "?period1=" + std::to_string(start) +
                   "&period2=" + std::to_string(end) + "&interval=1d";
        case Provider::Binance:
            return base + "/api/v3/klines?symbol=" + symbol +
                   "&interval=1d&startTime=" + std::to_string(start * 1000) +
                   "&endTime=" + std::to_string(end * 1000 - 1) + "&limit=1000";
        case Provider::AlphaVantage: {
            const bool compact = (unixTime(to) - start) / kSecondsADay < kCompactSpanDays;
            return base + "/query?function=TIME_SERIES_DAILY&symbol=" + symbol +
                   "&outputsize=" + (compact ? "compact" : "full") +
                   "&datatype=csv&apikey=" + escaped(key);
        }
        case Provider::Url:
            break;
    }
    std::string address = source.symbol;
    replaceAll(address, "{from_unix}", std::to_string(start));
    replaceAll(address, "{to_unix}", std::to_string(end - 1));
    replaceAll(address, "{from}", isoDate(from));
    replaceAll(address, "{to}", isoDate(to));
    return address;
}

}  // namespace aurelant::quotes
