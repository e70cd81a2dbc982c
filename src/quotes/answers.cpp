#include "quotes/answers.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>

#include "import/recognition.h"

namespace aurelant::quotes {
namespace {

using nlohmann::json;

constexpr std::size_t kLongestNote = 200;

std::optional<double> number(std::string_view text) {
    text = text.substr(0, text.find_last_not_of(" \r") + 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> jsonNumber(const json& value) {
    if (value.is_number()) {
        return value.get<double>();
    }
    return value.is_string() ? number(value.get<std::string>()) : std::nullopt;
}

std::string shortened(std::string text) {
    if (text.size() > kLongestNote) {
        text = text.substr(0, kLongestNote) + "...";
    }
    return text;
}

bool looksLikeWebPage(const HttpAnswer& answer) {
    const std::size_t first = answer.body.find_first_not_of(" \t\r\n");
    return answer.contentType.find("html") != std::string::npos ||
           (first != std::string::npos && answer.body[first] == '<');
}

// The note a service writes in JSON instead of data: Yahoo's error description, Binance's
// "msg", Alpha Vantage's "Note", "Information" or "Error Message".
std::optional<std::string> noteIn(const json& answer) {
    if (!answer.is_object()) {
        return std::nullopt;
    }
    for (const char* name : {"Note", "Information", "Error Message", "msg"}) {
        if (answer.contains(name) && answer[name].is_string()) {
            return answer[name].get<std::string>();
        }
    }
    const json* error = nullptr;
    if (answer.contains("chart") && answer["chart"].is_object() &&
        answer["chart"].contains("error")) {
        error = &answer["chart"]["error"];
    }
    if (error != nullptr && error->is_object() && error->contains("description")) {
        const json& description = (*error)["description"];
        return description.is_string() ? description.get<std::string>() : description.dump();
    }
    return std::nullopt;
}

Series problem(std::string text) {
    return Series{{}, std::move(text)};
}

Series yahooSeries(const json& answer, std::chrono::system_clock::time_point now) {
    const json& results = answer.at("chart").at("result");
    if (!results.is_array() || results.empty()) {
        return problem("the answer holds no days");
    }
    const json& result = results.at(0);
    const long long offset = result.at("meta").value("gmtoffset", 0LL);
    // The exchange's own day that has not ended yet.
    const CalendarDate open = dayOfUnixTime(
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count() + offset);
    Series series;
    if (!result.contains("timestamp")) {
        return series;
    }
    const json& times = result.at("timestamp");
    const json& quote = result.at("indicators").at("quote").at(0);
    const std::array<const char*, 4> names{"open", "high", "low", "close"};
    for (std::size_t i = 0; i < times.size(); ++i) {
        QuoteBar bar{dayOfUnixTime(times.at(i).get<long long>() + offset), {}, {}};
        if (bar.date >= open) {
            continue;
        }
        for (std::size_t field = 0; field < names.size(); ++field) {
            const json& prices = quote.value(names[field], json::array());
            bar.prices[field] = i < prices.size() ? jsonNumber(prices[i]) : std::nullopt;
        }
        const json& volumes = quote.value("volume", json::array());
        bar.volume = i < volumes.size() ? jsonNumber(volumes[i]) : std::nullopt;
        series.bars.push_back(bar);
    }
    return series;
}

Series binanceSeries(const json& answer, std::chrono::system_clock::time_point now) {
    const long long nowMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    Series series;
    for (const json& kline : answer) {
        // [open time, open, high, low, close, volume, close time, ...]
        if (kline.at(6).get<long long>() >= nowMs) {
            continue;  // the day's candle is still open
        }
        QuoteBar bar{
            dayOfUnixTime(kline.at(0).get<long long>() / 1000), {}, jsonNumber(kline.at(5))};
        for (std::size_t field = 0; field < 4; ++field) {
            bar.prices[field] = jsonNumber(kline.at(field + 1));
        }
        series.bars.push_back(bar);
    }
    return series;
}

// Cuts a CSV line at commas; no quoting is needed for the services' plain numbers.
std::vector<std::string_view> cells(std::string_view line) {
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        out.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return out;
        }
        start = comma + 1;
    }
}

// Date, Open, High, Low, Close and perhaps Volume, as a line of the program's layout.
std::optional<QuoteBar> csvBar(std::string_view line) {
    const std::vector<std::string_view> fields = cells(line);
    const std::optional<CalendarDate> date =
        fields.size() >= 5 ? parseDate(fields[0]) : std::nullopt;
    if (!date) {
        return std::nullopt;
    }
    QuoteBar bar{*date, {}, fields.size() > 5 ? number(fields[5]) : std::nullopt};
    for (std::size_t field = 0; field < 4; ++field) {
        bar.prices[field] = number(fields[field + 1]);
    }
    return bar;
}

// Alpha Vantage's CSV: "timestamp,open,high,low,close,volume", newest first.
Series alphaVantageSeries(const std::string& body) {
    Series series;
    std::size_t start = body.find('\n');
    while (start != std::string::npos && start + 1 < body.size()) {
        const std::size_t end = body.find('\n', start + 1);
        const std::string_view line = std::string_view(body).substr(start + 1, end - start - 1);
        if (!line.empty() && line != "\r") {
            series.bars.push_back(csvBar(line).value_or(QuoteBar{}));
        }
        start = end;
    }
    std::reverse(series.bars.begin(), series.bars.end());
    if (series.bars.empty() || !body.starts_with("timestamp,")) {
        return problem(series.bars.empty() ? "the answer holds no days"
                                           : "the answer is not the CSV of daily prices expected");
    }
    return series;
}

Series recognisedSeries(const std::string& body) {
    const import::Recognition recognition = import::recognise(body);
    if (!recognition.recognised()) {
        return problem("the answer is not a table of daily prices: " + recognition.problem);
    }
    Series series;
    for (const import::DailyBar& day : recognition.days) {
        if (std::optional<QuoteBar> bar = csvBar(day.line)) {
            bar->date = day.date;
            series.bars.push_back(*bar);
        }
    }
    return series;
}

Series jsonSeries(Provider provider, const std::string& body,
                  std::chrono::system_clock::time_point now) {
    const json answer = json::parse(body, nullptr, false);
    if (answer.is_discarded()) {
        return problem("the answer is not the JSON of prices expected");
    }
    if (std::optional<std::string> note = noteIn(answer)) {
        return problem("the answer is a note, not prices: " + shortened(*note));
    }
    if (provider != Provider::Yahoo && provider != Provider::Binance) {
        return problem("the answer is JSON, not the CSV of daily prices expected");
    }
    try {
        return provider == Provider::Yahoo ? yahooSeries(answer, now) : binanceSeries(answer, now);
    } catch (const json::exception&) {
        return problem("the answer is not the JSON of prices expected");
    }
}

}  // namespace

Series readAnswer(Provider provider, const HttpAnswer& answer,
                  std::chrono::system_clock::time_point now) {
    if (answer.status == 0) {
        return problem(answer.failure);
    }
    if (answer.status != 200) {
        const json body = json::parse(answer.body, nullptr, false);
        const std::optional<std::string> note = noteIn(body);
        return problem("the service answered " + std::to_string(answer.status) +
                       (note ? ": " + shortened(*note) : ""));
    }
    if (looksLikeWebPage(answer)) {
        return problem("the answer is a web page, not prices");
    }
    const bool jsonAnswer = answer.body.find_first_not_of(" \t\r\n") != std::string::npos &&
                            answer.body[answer.body.find_first_not_of(" \t\r\n")] == '{';
    Series series;
    if (provider == Provider::Yahoo || provider == Provider::Binance || jsonAnswer) {
        series = jsonSeries(provider, answer.body, now);
    } else {
        series = provider == Provider::AlphaVantage ? alphaVantageSeries(answer.body)
                                                    : recognisedSeries(answer.body);
    }
    if (series.problem.empty() && series.bars.empty()) {
        series.problem = "the answer holds no days";
    }
    return series;
}

}  // namespace aurelant::quotes
