#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "predict/direction.h"
#include "state/runresults.h"

namespace aurelant {

class AppState;

// One candle: a trading day, or consecutive days joined when the view holds too many to draw
// each on its own.
struct Candle {
    double date = 0;  // date number of its first day
    DayPrices prices;
};

// A day on which the back-test made a prediction that the next day judged. UP markers sit under
// the day's Low, DOWN markers over its High.
struct ChartMarker {
    double date = 0;
    double price = 0;
    bool up = true;
    bool right = false;
};

// A horizontal line beyond the last candle: the next day's Open or one of its levels.
struct ChartLevel {
    std::string name;  // "Open", "75%", "50%", "25%"
    std::string text;  // the price as the report writes it
    double price = 0;
};

// A record of the open file as the chart draws it.
struct ChartDay {
    long recordNumber = 0;  // its line number, as the prediction counts records
    std::string date;       // the date text as the prediction writes it
    double dateNumber = 0;
    DayPrices prices;
};

// What the chart's keys do: zoom in and out, move a step earlier or later, go to the first day
// or the latest.
enum class ChartMove { ZoomIn, ZoomOut, Earlier, Later, First, Latest };

// The model of the price chart window: the open file's records, the part of them in view, the
// markers and levels of the last prediction, a title and a note about what is not shown.
class PriceChart {
  public:
    static constexpr long kRecentDays = 120;
    static constexpr long kFewestDays = 10;    // zooming in stops here
    static constexpr long kMostCandles = 250;  // beyond, days are joined into candles

    // Reads the open file and the last run's results again when anything changed since the last
    // look: the file, its content on disk, a run or a re-prediction. True when it did.
    bool follow(const AppState& window);

    void showRecent();
    void showWhole();
    // `factor` above 1 shows more days, below 1 fewer; the day at `anchor` (0 = the view's left
    // edge, 1 = its right edge) stays where it is.
    void zoom(double factor, double anchor);
    // Moves the view by `days` trading days, to later days when positive.
    void pan(long days);
    void move(ChartMove move);

    const std::string& title() const { return title_; }
    // What the chart leaves out, and why; empty when it shows everything.
    std::string note() const;
    long recordCount() const { return static_cast<long>(days_.size()); }
    long firstInView() const { return first_; }
    long daysInView() const { return count_; }
    long daysPerCandle() const;
    // Whether the view reaches the latest day, beyond which the levels stand.
    bool latestInView() const;

    std::vector<Candle> candles() const;
    // Only while each candle is one day.
    std::vector<ChartMarker> markers() const;
    const std::vector<ChartLevel>& levels() const { return levels_; }

    // The dates that the date axis spans: the candles in view with half a candle's room each side.
    std::pair<double, double> dateSpan() const;
    // The lowest Low and highest High in view, and the levels while the latest day is in view.
    std::pair<double, double> priceSpan() const;

    // Tooltips: the candle that starts on the date number `date` (its days and prices) and the
    // marker on that date (what was predicted and whether it came true); empty for none.
    std::string candleTip(double date) const;
    std::string markerTip(double date) const;

  private:
    struct Source {
        bool open = false;
        std::string file;
        std::int64_t changed = 0;  // the file's time of last change, in the system's ticks
        std::uintmax_t size = 0;
        unsigned revision = 0;
        bool operator==(const Source&) const = default;
    };
    struct Mark {
        std::size_t day = 0;
        bool up = true;
        bool right = false;
    };

    static Source sourceOf(const AppState& window);
    void reload(const AppState& window);
    long readDays(const std::string& path);
    void placeResults(const AppState& window, long lines);
    void placeLevels(const PredictedLevels& levels);
    void addNote(const std::string& text);
    void setView(long first, long count);

    std::optional<Source> source_;
    std::vector<ChartDay> days_;
    std::vector<Mark> marks_;
    std::vector<ChartLevel> levels_;
    std::string title_;
    std::string note_;
    long first_ = 0;
    long count_ = 0;
};

}  // namespace aurelant
