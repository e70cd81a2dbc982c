// The price chart's view of long files: the recent days by default, zoom, pan, the whole history
// in joined candles, and a view that keeps its place when the file grows on disk.
#include <gtest/gtest.h>

#include <fstream>

#include "app/aurelant.h"
#include "chart/pricechart.h"
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

}  // namespace
}  // namespace aurelant
