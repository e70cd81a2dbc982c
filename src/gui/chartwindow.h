#pragma once

#include <QFileSystemWatcher>
#include <QMargins>
#include <QWidget>

#include "chart/chartexport.h"
#include "chart/pricechart.h"
#include "sidewindow.h"

class QAbstractSeries;
class QChart;
class QChartView;
class QGraphicsPixmapItem;
class QGraphicsSimpleTextItem;
class QCategoryAxis;
class QLabel;
class QValueAxis;

namespace aurelant {

// The price chart window: draws the chart model with Qt Charts beside the main window, zooms
// with the mouse wheel and the + and - keys, pans by dragging and with the arrow keys, shows
// the prices of a candle and the outcome of a marker under the pointer, and saves or prints the
// chart.
class ChartWindow : public QWidget {
    Q_OBJECT

  public:
    ChartWindow(AppState& window, QWidget* parent);

    // Redraws when the open file, its content or the last prediction changed.
    void follow();
    // The chart as a picture file's bytes.
    std::string picture(PictureFormat format) const;
    // Shows the window, the first time where it was left or beside `main`.
    void showBeside(const QWidget* main);

  protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void draw();
    void drawAxes();
    void drawCandles(const std::vector<Candle>& candles);
    void drawMarkers();
    void drawLevels();
    void addMoveKeys();
    void showTip(const std::string& tip);
    // On the date axis, or on `days` where given.
    void addSeries(QAbstractSeries* series, QValueAxis* days = nullptr);
    void addLegendEntry(const QImage& picture, const QString& text);
    // Places the level labels and the legend, which Qt Charts does not lay out.
    void placeOverlays();
    void watchFile();

    AppState& window_;
    PriceChart model_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QCategoryAxis* dates_ = nullptr;
    QValueAxis* prices_ = nullptr;
    QValueAxis* candleDays_ = nullptr;
    QLabel* note_ = nullptr;
    QMargins margins_;  // the chart's own, without the room of the levels' labels
    QFileSystemWatcher watcher_;
    std::vector<QGraphicsSimpleTextItem*> levelLabels_;  // each keeps its price in data(0)
    std::vector<std::pair<QGraphicsPixmapItem*, QGraphicsSimpleTextItem*>> legend_;
    long dragged_ = 0;  // trading days panned since the mouse button went down
    SideWindow* side_ = nullptr;
};

}  // namespace aurelant
