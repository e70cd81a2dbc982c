// The price chart window, offscreen: it opens from the Predict menu, follows the main window and
// saves the chart as a PNG or SVG picture.
#include <gtest/gtest.h>

#include <QCandlestickSeries>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>

#include "mainwindow.h"
#include "qtapplication.h"
#include "scenario/generated_history.h"
#include "scenario/scripted_platform.h"
#include "unit/tempfolder.h"

namespace aurelant {
namespace {

class ChartWindowTest : public TempFolderTest {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    ChartWindowTest() : model(globals, platform) {
        platform.folder = folder.string();
        model.load();
        window = std::make_unique<MainWindow>(model);
    }

    template <typename Series>
    int seriesOf(QChart* chart) const {
        int count = 0;
        for (QAbstractSeries* series : chart->series()) {
            count += qobject_cast<Series*>(series) != nullptr ? 1 : 0;
        }
        return count;
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant model;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ChartWindowTest, FollowsTheMainWindowAndSavesPictures) {
    const std::string prices = write("prices.csv", "");
    writeRandomWalkHistory(prices, 200);
    platform.fileAnswers = {prices};
    window->runCommand("open");
    platform.formActions["dailydata"] = {{FormAction::Kind::Set, "day5opentext", "50"},
                                         {FormAction::Kind::Press, "predictcommand", ""}};
    window->runCommand("predictmove");
    window->runCommand("chart");
    EXPECT_EQ(platform.transcript.back(), "chart window");
    window->showChart();
    auto* chartWindow = window->findChild<QWidget*>("chart");
    ASSERT_NE(chartWindow, nullptr);
    QChart* chart = chartWindow->findChild<QChartView*>("chartview")->chart();
    EXPECT_TRUE(chart->title().startsWith("prices.csv - Next trading day: "));
    ASSERT_EQ(seriesOf<QCandlestickSeries>(chart), 1);
    EXPECT_EQ(qobject_cast<QCandlestickSeries*>(chart->series().front())->count(), 120);
    EXPECT_EQ(seriesOf<QLineSeries>(chart), 4);  // the Open and three levels

    const std::string png = (folder / "chart.png").string();
    const std::string svg = (folder / "chart.svg").string();
    platform.fileAnswers = {png, svg};
    chartWindow->findChild<QPushButton*>("export")->click();
    chartWindow->findChild<QPushButton*>("export")->click();
    EXPECT_EQ(read(png).substr(0, 4), "\x89PNG");
    EXPECT_NE(read(svg).find("<svg"), std::string::npos);
    chartWindow->findChild<QPushButton*>("printchart")->click();
    EXPECT_EQ(platform.transcript.back(), "print picture");

    window->runCommand("new");
    EXPECT_TRUE(chart->series().isEmpty());
    EXPECT_TRUE(chartWindow->findChild<QLabel*>("note")->text().startsWith("No file is open"));
}

}  // namespace
}  // namespace aurelant
