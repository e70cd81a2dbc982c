// The price chart's view of long files: the recent days by default, zoom, pan, the whole history
// in joined candles, and a view that keeps its place when the file grows on disk.
#include <gtest/gtest.h>

#include <fstream>

#include "app/aurelant.h"
#include "chart/chartaxes.h"
#include "chart/chartexport.h"
#include "chart/pricechart.h"
#include "common/dates.h"
#include "scenario/generated_history.h"
#include "scenario/scripted_platform.h"
#include "tempfolder.h"

namespace aurelant {
namespace {

class PriceChartTest : public TempFolderTest {
  protected:
    PriceChartTest() : window(globals, platform) {
        platform.folder = folder.string();
        globals.fileopen = true;
        globals.currentfile = (folder / "prices.csv").string();
    }

    void expectView(long first, long count, long perCandle) const {
        EXPECT_EQ(chart.firstInView(), first);
        EXPECT_EQ(chart.daysInView(), count);
        EXPECT_EQ(chart.daysPerCandle(), perCandle);
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
    PriceChart chart;
};

TEST_F(PriceChartTest, ZoomPanAndTheWholeHistory) {
    writeGeneratedHistory(globals.currentfile, 300);
    EXPECT_TRUE(chart.follow(window));
    EXPECT_FALSE(chart.follow(window));  // nothing changed
    expectView(180, 120, 1);
    EXPECT_EQ(chart.candles().back().date, chart.candles().front().date + 119);

    chart.zoom(0.5, 1.0);  // the right edge stays
    expectView(240, 60, 1);
    chart.zoom(0.01, 0.5);
    expectView(265, 10, 1);
    chart.pan(-1000);
    expectView(0, 10, 1);
    chart.zoom(100, 0);
    expectView(0, 300, 2);
    ASSERT_EQ(chart.candles().size(), 150u);
    const DayPrices joined = chart.candles()[4].prices;  // days 8 and 9 of the file
    EXPECT_EQ(joined.open, 108.5);
    EXPECT_EQ(joined.high, 111.25);
    EXPECT_EQ(joined.low, 107.75);
    EXPECT_EQ(joined.close, 110);
    EXPECT_EQ(chart.note(), "Each candle joins 2 trading days.");

    for (const auto& [move, first, count, perCandle] :
         {std::tuple{ChartMove::ZoomIn, 60L, 240L, 1L},  // about the latest day
          {ChartMove::Latest, 60, 240, 1},
          {ChartMove::Earlier, 36, 240, 1},
          {ChartMove::First, 0, 240, 1},
          {ChartMove::ZoomOut, 0, 300, 2}}) {
        chart.move(move);
        expectView(first, count, perCandle);
    }
    chart.showRecent();
    chart.pan(-50);
    std::ofstream(globals.currentfile, std::ios::app) << "not a record\r\n";
    ASSERT_TRUE(chart.follow(window));
    expectView(130, 120, 1);  // a view inside the history stays where it is
    EXPECT_EQ(chart.note(), "1 line of the file is not a record and is left out.");
    chart.pan(1000);
    std::ofstream(globals.currentfile, std::ios::app) << "27-Oct-2000,1,2,0.5,1.5\r\n";
    ASSERT_TRUE(chart.follow(window));
    expectView(181, 120, 1);  // a view at the end follows it
}

// The largest file Open accepts, after a direction run: markers in the recent view, the whole
// history in few enough candles to draw at once.
TEST_F(PriceChartTest, TheLargestFileAfterARun) {
    writeRandomWalkHistory(globals.currentfile, 32887);
    platform.answers = {Answer::Ok};
    window.click("predictchange");
    ASSERT_TRUE(globals.predictiondone);
    chart.follow(window);
    EXPECT_FALSE(chart.markers().empty());
    chart.showWhole();
    EXPECT_LE(chart.candles().size(), static_cast<std::size_t>(PriceChart::kMostCandles));
    EXPECT_TRUE(chart.markers().empty());
    EXPECT_EQ(chart.note(),
              "Each candle joins 132 trading days; zoom in to see the markers of the predictions.");
}

// Dates from the year 1 to 9999, before 1900 too, each in its place; tips name a day's prices.
TEST_F(PriceChartTest, DatesOfAnyYearTicksAndTips) {
    std::ofstream(globals.currentfile) << "01-Jan-0001,1,2,0.5,1.5\r\n31-Dec-1899,2,3,1,2.5\r\n"
                                          "02-Jan-1966,3,4,2,3.5\r\n31-Dec-9999,4,5,3,4.5\r\n";
    chart.follow(window);
    const std::vector<Candle> candles = chart.candles();
    ASSERT_EQ(candles.size(), 4u);
    for (const auto& [candle, date] :
         {std::pair{0, CalendarDate{1, 1, 1}}, {1, {1899, 12, 31}}, {3, {9999, 12, 31}}}) {
        EXPECT_EQ(candles[candle].date, dateNumber(date));
    }
    EXPECT_EQ(chart.candleTip(candles[2].date), "02-Jan-1966\nOpen 3\nHigh 4\nLow 2\nClose 3.5");
    EXPECT_EQ(chart.candleTip(candles[2].date + 1), "");
    EXPECT_EQ(chart.priceSpan(), std::pair(0.5, 5.0));
    EXPECT_EQ(dateTicks(chart.dateSpan().first, chart.dateSpan().second, 10).back().label, "8000");
    EXPECT_EQ(pictureName("/data/sample-prices.csv"), "/data/sample-prices.png");
}

TEST(ChartAxes, RoundTicks) {
    const struct {
        double low, high;
        int most;
        PriceAxis axis;
    } prices[] = {{60.6, 95.4, 8, {55, 100, 5, 0}}, {0.1234, 0.1278, 5, {0.123, 0.129, 0.001, 3}}};
    for (const auto& [low, high, most, axis] : prices) {
        const PriceAxis made = priceAxis(low, high, most);
        EXPECT_DOUBLE_EQ(made.low, axis.low);
        EXPECT_DOUBLE_EQ(made.high, axis.high);
        EXPECT_DOUBLE_EQ(made.step, axis.step);
        EXPECT_EQ(made.decimals, axis.decimals);
    }
    const double jan1966 = dateNumber({1966, 1, 1});
    const struct {
        double first, last;
        const char* firstLabel;
        std::size_t count;
    } dates[] = {{jan1966 + 0.5, jan1966 + 9, "02-Jan-1966", 9},
                 {jan1966 - 1, jan1966 + 60, "03-Jan-1966", 9},  // Mondays
                 {jan1966 - 1, jan1966 + 199, "Jan 1966", 7},
                 {jan1966, jan1966 + 3000, "1966", 9}};
    for (const auto& [first, last, firstLabel, count] : dates) {
        const std::vector<DateTick> ticks = dateTicks(first, last, 10);
        EXPECT_EQ(ticks.front().label, firstLabel);
        EXPECT_EQ(ticks.size(), count) << firstLabel;
    }
}

}  // namespace
}  // namespace aurelant
