#include "chart/pricechart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>

#include "common/dates.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/outlook.h"
#include "common/textfile.h"
#include "pricefile/historyformat.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

// A line as the chart draws it: four prices that read as numbers and a date it can place.
std::optional<ChartDay> dayOf(long recordNumber, const std::string& line, char separator) {
    const std::optional<PriceRecord> record = splitRecord(line, separator);
    if (!record) {
        return std::nullopt;
    }
    const std::optional<CalendarDate> date = parseDate(record->date);
    if (!date) {
        return std::nullopt;
    }
    try {
        return ChartDay{recordNumber,
                        record->date,
                        dateNumber(*date),
                        {strictNumber(record->open), strictNumber(record->high),
                         strictNumber(record->low), strictNumber(record->close)}};
    } catch (const AppError&) {
        return std::nullopt;
    }
}

std::string directionWords(const Outlook& outlook) {
    return (outlook.repredicted ? " - Re-predicted: " : " - Next trading day: ") +
           std::string(outlook.up ? "UP " : "DOWN ") + outlook.probability + "%";
}

}  // namespace

bool PriceChart::follow(const AppState& window) {
    const Source now = sourceOf(window);
    if (source_ == now) {
        return false;
    }
    const long oldCount = recordCount();
    const bool sameFile = source_ && source_->file == now.file && oldCount > 0;
    const bool wasWhole = count_ == oldCount;
    const bool wasAtEnd = first_ + count_ == oldCount;
    source_ = now;
    reload(window);
    if (!sameFile) {
        showRecent();
    } else if (wasWhole) {
        showWhole();
    } else {
        setView(wasAtEnd ? recordCount() - count_ : first_, count_);
    }
    return true;
}

PriceChart::Source PriceChart::sourceOf(const AppState& window) {
    Source source;
    source.open = window.globals.fileopen && !window.globals.currentfile.empty();
    source.revision = window.runresults.revision();
    if (source.open) {
        source.file = window.globals.currentfile;
        std::error_code ignored;  // a file that cannot be read gets its reason from the reading
        source.changed =
            std::filesystem::last_write_time(source.file, ignored).time_since_epoch().count();
        source.size = std::filesystem::file_size(source.file, ignored);
    }
    return source;
}

void PriceChart::reload(const AppState& window) {
    days_.clear();
    marks_.clear();
    levels_.clear();
    title_.clear();
    note_.clear();
    if (!source_->open) {
        addNote("No file is open: open a history file to see its prices.");
        return;
    }
    title_ = std::filesystem::path(source_->file).filename().string();
    try {
        placeResults(window, readDays(source_->file));
    } catch (const AppError& error) {
        days_.clear();
        addNote("The file cannot be read: " + error.description());
    }
}

long PriceChart::readDays(const std::string& path) {
    const std::optional<char> separator = historyFileSeparator(path);
    if (!separator) {
        addNote("The file has neither TAB nor COMMA field separators.");
        return 0;
    }
    LineReader reader(path);
    std::string line;
    long lines = 0;
    long leftOut = 0;
    while (reader.next(line)) {
        if (std::optional<ChartDay> day = dayOf(++lines, line, *separator)) {
            days_.push_back(std::move(*day));
        } else {
            ++leftOut;
        }
    }
    if (days_.empty()) {
        addNote("The file holds no prices to draw.");
    } else if (leftOut > 0) {
        addNote(leftOut == 1 ? "1 line of the file is not a record and is left out."
                             : std::to_string(leftOut) +
                                   " lines of the file are not records and are left out.");
    }
    return lines;
}

// Markers go on the days whose line still holds the date the run saw; the outlook only while the
// file ends where the run's reading ended.
void PriceChart::placeResults(const AppState& window, long lines) {
    const RunResults& results = window.runresults;
    if (results.file() != source_->file) {
        return;
    }
    for (const JudgedPrediction& judged : results.judged()) {
        const auto day = std::lower_bound(
            days_.begin(), days_.end(), judged.recordNumber,
            [](const ChartDay& each, long number) { return each.recordNumber < number; });
        if (day != days_.end() && day->recordNumber == judged.recordNumber &&
            day->date == judged.date) {
            marks_.push_back(
                {static_cast<std::size_t>(day - days_.begin()), judged.up, judged.right});
        }
    }
    if (lines != results.lastRecord()) {
        addNote(
            "The file has changed since the last prediction: predict again to see where the "
            "next trading day may go.");
        return;
    }
    title_ += directionWords(results.outlook());
    if (results.outlook().levels) {
        placeLevels(*results.outlook().levels);
    }
}

void PriceChart::placeLevels(const PredictedLevels& levels) {
    static const std::array<const char*, 3> names = {"75%", "50%", "25%"};
    try {
        levels_.push_back({"Open", levels.open, strictNumber(levels.open)});
        for (std::size_t i = 0; i < names.size(); ++i) {
            levels_.push_back({names[i], levels.levels[i], strictNumber(levels.levels[i])});
        }
    } catch (const AppError&) {
        levels_.clear();  // a price too large to read back has no place on the chart
    }
}

void PriceChart::addNote(const std::string& text) {
    note_ += (note_.empty() ? "" : " ") + text;
}

std::string PriceChart::note() const {
    const long joined = daysPerCandle();
    if (joined == 1) {
        return note_;
    }
    return note_ + (note_.empty() ? "" : " ") + "Each candle joins " + std::to_string(joined) +
           " trading days" +
           (marks_.empty() ? "." : "; zoom in to see the markers of the predictions.");
}

void PriceChart::showRecent() {
    setView(recordCount() - kRecentDays, kRecentDays);
}

void PriceChart::showWhole() {
    setView(0, recordCount());
}

void PriceChart::zoom(double factor, double anchor) {
    const long fewest = std::min(kFewestDays, recordCount());
    const long count =
        std::clamp(std::lround(static_cast<double>(count_) * factor), fewest, recordCount());
    const double anchorDay = static_cast<double>(first_) + anchor * static_cast<double>(count_);
    setView(std::lround(anchorDay - anchor * static_cast<double>(count)), count);
}

void PriceChart::pan(long days) {
    setView(first_ + days, count_);
}

void PriceChart::move(ChartMove move) {
    constexpr double kZoomStep = 0.8;
    const long step = std::max(1L, count_ / 10);
    // About the latest day while it is in view, so that the levels beyond it stay in view.
    const double anchor = latestInView() ? 1.0 : 0.5;
    switch (move) {
        case ChartMove::ZoomIn:
            zoom(kZoomStep, anchor);
            break;
        case ChartMove::ZoomOut:
            zoom(1 / kZoomStep, anchor);
            break;
        case ChartMove::Earlier:
            pan(-step);
            break;
        case ChartMove::Later:
            pan(step);
            break;
        case ChartMove::First:
            pan(-recordCount());
            break;
        case ChartMove::Latest:
            pan(recordCount());
            break;
    }
}

void PriceChart::setView(long first, long count) {
    count_ = std::clamp(count, 0L, recordCount());
    first_ = std::clamp(first, 0L, recordCount() - count_);
}

bool PriceChart::latestInView() const {
    return count_ > 0 && first_ + count_ == recordCount();
}

long PriceChart::daysPerCandle() const {
    return std::max(1L, (count_ + kMostCandles - 1) / kMostCandles);
}

std::vector<Candle> PriceChart::candles() const {
    const long joined = daysPerCandle();
    const long end = first_ + count_;
    std::vector<Candle> candles;
    for (long start = first_; start < end; start += joined) {
        const long last = std::min(start + joined, end) - 1;
        Candle candle{days_[start].dateNumber, days_[start].prices};
        for (long day = start + 1; day <= last; ++day) {
            candle.prices.high = std::max(candle.prices.high, days_[day].prices.high);
            candle.prices.low = std::min(candle.prices.low, days_[day].prices.low);
        }
        candle.prices.close = days_[last].prices.close;
        candles.push_back(candle);
    }
    return candles;
}

std::pair<double, double> PriceChart::dateSpan() const {
    if (count_ == 0) {
        return {0, 1};
    }
    const double first = days_[first_].dateNumber;
    const double last = days_[first_ + count_ - 1].dateNumber;
    const double room = std::max(1.0, (last - first) / static_cast<double>(candles().size())) / 2;
    return {first - room, last + room};
}

std::pair<double, double> PriceChart::priceSpan() const {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (long day = first_; day < first_ + count_; ++day) {
        low = std::min(low, days_[day].prices.low);
        high = std::max(high, days_[day].prices.high);
    }
    if (latestInView()) {
        for (const ChartLevel& level : levels_) {
            low = std::min(low, level.price);
            high = std::max(high, level.price);
        }
    }
    return {low, high};
}

std::string PriceChart::candleTip(double date) const {
    const std::vector<Candle> shown = candles();
    const auto candle = std::find_if(shown.begin(), shown.end(),
                                     [date](const Candle& each) { return each.date == date; });
    if (candle == shown.end()) {
        return {};
    }
    std::string days = formatDate(dateFromNumber(date));
    const long joined = daysPerCandle();
    if (joined > 1) {
        const long first = first_ + (candle - shown.begin()) * joined;
        const long last = std::min(first + joined, first_ + count_) - 1;
        days += " to " + formatDate(dateFromNumber(days_[last].dateNumber)) + " (" +
                std::to_string(last - first + 1) + " trading days)";
    }
    const DayPrices& p = candle->prices;
    return days + "\nOpen " + plainText(p.open) + "\nHigh " + plainText(p.high) + "\nLow " +
           plainText(p.low) + "\nClose " + plainText(p.close);
}

std::string PriceChart::markerTip(double date) const {
    for (const ChartMarker& marker : markers()) {
        if (marker.date == date) {
            return formatDate(dateFromNumber(date)) + ": " + directionName(marker.up) +
                   " predicted for the next trading day, " +
                   (marker.right ? "which came true." : "which did not come true.");
        }
    }
    return {};
}

std::vector<ChartMarker> PriceChart::markers() const {
    std::vector<ChartMarker> markers;
    if (daysPerCandle() > 1) {
        return markers;
    }
    for (const Mark& mark : marks_) {
        const long day = static_cast<long>(mark.day);
        if (day >= first_ && day < first_ + count_) {
            const DayPrices& prices = days_[mark.day].prices;
            markers.push_back({days_[mark.day].dateNumber, mark.up ? prices.low : prices.high,
                               mark.up, mark.right});
        }
    }
    return markers;
}

}  // namespace aurelant
