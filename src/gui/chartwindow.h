#pragma once

#include <QFileSystemWatcher>
#include <QWidget>

#include "chart/chartexport.h"
#include "chart/pricechart.h"

class QAbstractSeries;
class QChart;
class QChartView;
class QGraphicsPixmapItem;
class QGraphicsSimpleTextItem;
class QDateTimeAxis;
class QLabel;
class QValueAxis;

namespace aurelant {

// The price chart window: draws the chart model with Qt Charts beside the main window, zooms
// with the mouse wheel, pans by dragging, and saves or prints the chart.
class ChartWindow : public QWidget {
    Q_OBJECT

  public:
    ChartWindow(AppState& window, QWidget* parent);

    // Redraws when the open file, its content or the last prediction changed.
    void follow();
    // The chart as a picture file's bytes.
    std::string picture(PictureFormat format) const;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void draw();
    void drawCandles(const std::vector<Candle>& candles);
    void drawMarkers();
    void drawLevels(qreal lastDay);
    void addSeries(QAbstractSeries* series);
    void addLegendEntry(const QImage& picture, const QString& text);
    // Places the level labels and the legend, which Qt Charts does not lay out.
    void placeOverlays();
    void watchFile();

    AppState& window_;
    PriceChart model_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QDateTimeAxis* dates_ = nullptr;
    QValueAxis* prices_ = nullptr;
    QLabel* note_ = nullptr;
    QFileSystemWatcher watcher_;
    std::vector<QGraphicsSimpleTextItem*> levelLabels_;  // each keeps its place in data(0)
    std::vector<std::pair<QGraphicsPixmapItem*, QGraphicsSimpleTextItem*>> legend_;
    long dragged_ = 0;  // trading days panned since the mouse button went down
};

}  // namespace aurelant
