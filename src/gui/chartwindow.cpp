#include "chartwindow.h"

#include <QBuffer>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "app/aurelant.h"

namespace aurelant {
namespace {

constexpr qreal kDay = 24 * 60 * 60 * 1000.0;  // the time axis counts milliseconds
const QColor kRising(0, 140, 0);
const QColor kFalling(200, 0, 0);
const QColor kUpMarker(0, 90, 220);
const QColor kDownMarker(230, 120, 0);
const QColor kLevel(90, 0, 140);
constexpr int kLegendHeight = 24;

// Noon of the day, local time, as the time axis shows dates.
qreal axisTime(double dateNumber) {
    const QDate day = QDate(1899, 12, 30).addDays(static_cast<qint64>(dateNumber));
    return static_cast<qreal>(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
}

// A triangle pointing the way of the prediction: filled when it came true, hollow when not.
QImage markerImage(bool up, bool right) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = up ? kUpMarker : kDownMarker;
    painter.setPen(QPen(colour, 2));
    painter.setBrush(right ? QBrush(colour) : QBrush(Qt::NoBrush));
    const QPolygonF triangle =
        up ? QPolygonF({{8, 2}, {14.5, 14}, {1.5, 14}}) : QPolygonF({{1.5, 2}, {14.5, 2}, {8, 14}});
    painter.drawPolygon(triangle);
    return image;
}

// Passes wheel turns and drags with the left button on as zoom and pan.
class ChartView : public QChartView {
  public:
    ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {}

    std::function<void(double factor, double anchor)> zoomed;
    std::function<void()> dragStarted;
    std::function<void(double share)> dragged;  // of the plot's width since the press

  protected:
    void wheelEvent(QWheelEvent* event) override {
        const QRectF plot = chart()->plotArea();
        const double anchor =
            std::clamp((event->position().x() - plot.left()) / plot.width(), 0.0, 1.0);
        zoomed(std::pow(0.8, event->angleDelta().y() / 120.0), anchor);
        event->accept();
    }
    void mousePressEvent(QMouseEvent* event) override {
        pressedAt_ = event->position().x();
        dragStarted();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton) {
            dragged((pressedAt_ - event->position().x()) / chart()->plotArea().width());
        }
    }

  private:
    qreal pressedAt_ = 0;
};

}  // namespace

ChartWindow::ChartWindow(AppState& window, QWidget* parent)
    : QWidget(parent, Qt::Window), window_(window) {
    setObjectName("chart");
    setWindowTitle("Price Chart");
    resize(960, 600);

    chart_ = new QChart;
    chart_->legend()->hide();
    chart_->setMargins(chart_->margins() + QMargins(0, 0, 0, kLegendHeight));
    dates_ = new QDateTimeAxis(chart_);
    dates_->setFormat("dd-MMM-yyyy");
    prices_ = new QValueAxis(chart_);
    chart_->addAxis(dates_, Qt::AlignBottom);
    chart_->addAxis(prices_, Qt::AlignRight);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { placeOverlays(); });

    auto* view = new ChartView(chart_, this);
    view->setObjectName("chartview");
    view->setRenderHint(QPainter::Antialiasing);
    view->zoomed = [this](double factor, double anchor) {
        model_.zoom(factor, anchor);
        draw();
    };
    view->dragStarted = [this] { dragged_ = 0; };
    view->dragged = [this](double share) {
        const long days = std::lround(share * static_cast<double>(model_.daysInView()));
        model_.pan(days - dragged_);
        dragged_ = days;
        draw();
    };
    view_ = view;

    auto* buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const char* name, const char* caption, auto action) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    addButton("recent", "&Last 120 Days", [this] {
        model_.showRecent();
        draw();
    });
    addButton("whole", "&Whole History", [this] {
        model_.showWhole();
        draw();
    });
    addButton("export", "&Save as Picture...", [this] {
        exportChart(window_, [this](PictureFormat format) { return picture(format); });
    });
    addButton("printchart", "&Print...",
              [this] { printChart(window_, picture(PictureFormat::Png)); });
    buttons->addStretch();

    note_ = new QLabel(this);
    note_->setObjectName("note");
    note_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(view_, 1);
    layout->addWidget(note_);

    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { follow(); });
    follow();
}

void ChartWindow::follow() {
    if (model_.follow(window_)) {
        watchFile();
        draw();
    }
}

// Files replaced by renaming drop out of the watcher, so the watch is set again each time.
void ChartWindow::watchFile() {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (window_.globals.fileopen && !window_.globals.currentfile.empty()) {
        watcher_.addPath(QString::fromStdString(window_.globals.currentfile));
    }
}

void ChartWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        follow();  // the file may have changed while the user was elsewhere
    }
}

void ChartWindow::draw() {
    chart_->removeAllSeries();
    qDeleteAll(levelLabels_);
    levelLabels_.clear();
    for (const auto& [picture, text] : legend_) {
        delete picture;
        delete text;
    }
    legend_.clear();
    chart_->setTitle(QString::fromStdString(model_.title()));
    note_->setText(QString::fromStdString(model_.note()));
    note_->setVisible(!model_.note().empty());
    const std::vector<Candle> candles = model_.candles();
    dates_->setVisible(!candles.empty());
    prices_->setVisible(!candles.empty());
    if (candles.empty()) {
        return;
    }
    const qreal firstDay = axisTime(candles.front().date);
    const qreal lastDay = axisTime(candles.back().date);
    const qreal beyond = model_.levels().empty() ? kDay : (lastDay - firstDay) * 0.12 + 4 * kDay;
    dates_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(firstDay - kDay)),
                     QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(lastDay + beyond)));
    drawCandles(candles);
    drawMarkers();
    drawLevels(lastDay);
    placeOverlays();
}

void ChartWindow::drawCandles(const std::vector<Candle>& candles) {
    auto* series = new QCandlestickSeries;
    series->setName("Prices");
    series->setIncreasingColor(kRising);
    series->setDecreasingColor(kFalling);
    series->setBodyOutlineVisible(false);
    QList<QCandlestickSet*> sets;
    double low = candles.front().prices.low;
    double high = candles.front().prices.high;
    for (const Candle& candle : candles) {
        const DayPrices& p = candle.prices;
        sets.append(new QCandlestickSet(p.open, p.high, p.low, p.close, axisTime(candle.date)));
        low = std::min(low, p.low);
        high = std::max(high, p.high);
    }
    series->append(sets);
    for (const ChartLevel& level : model_.levels()) {
        low = std::min(low, level.price);
        high = std::max(high, level.price);
    }
    const double margin = std::max(high - low, std::abs(high) * 0.01) * 0.06;
    // Prices that cannot fall below zero get no negative room under them.
    prices_->setRange(low >= 0 ? std::max(0.0, low - margin) : low - margin, high + margin);
    addSeries(series);
}

void ChartWindow::drawMarkers() {
    // Markers stand a little below the Low or above the High of their day.
    const double gap = (prices_->max() - prices_->min()) * 0.025;
    static const char* names[2][2] = {{"DOWN predicted, wrong", "DOWN predicted, right"},
                                      {"UP predicted, wrong", "UP predicted, right"}};
    QScatterSeries* kinds[2][2] = {};
    for (const ChartMarker& marker : model_.markers()) {
        QScatterSeries*& series = kinds[marker.up][marker.right];
        if (series == nullptr) {
            series = new QScatterSeries;
            series->setName(names[marker.up][marker.right]);
            series->setLightMarker(markerImage(marker.up, marker.right));
            series->setMarkerSize(16);
        }
        series->append(axisTime(marker.date), marker.up ? marker.price - gap : marker.price + gap);
    }
    for (QScatterSeries* series : {kinds[1][1], kinds[1][0], kinds[0][1], kinds[0][0]}) {
        if (series != nullptr) {
            addSeries(series);
            addLegendEntry(series->lightMarker(), series->name());
        }
    }
}

// Dashed lines across the view up to the last candle, labelled beyond it.
void ChartWindow::drawLevels(qreal lastDay) {
    const auto left = static_cast<qreal>(dates_->min().toMSecsSinceEpoch());
    for (const ChartLevel& level : model_.levels()) {
        auto* series = new QLineSeries;
        series->setPen(QPen(kLevel, level.name == "Open" ? 1.5 : 1, Qt::DashLine));
        series->append(left, level.price);
        series->append(lastDay + kDay / 2, level.price);
        addSeries(series);
        auto* label = new QGraphicsSimpleTextItem(
            QString::fromStdString(level.name + " " + level.text), chart_);
        label->setBrush(kLevel);
        label->setData(0, QPointF(lastDay + kDay, level.price));
        levelLabels_.push_back(label);
    }
}

void ChartWindow::addSeries(QAbstractSeries* series) {
    chart_->addSeries(series);
    series->attachAxis(dates_);
    series->attachAxis(prices_);
}

// Qt's legend would show the markers as squares of one colour, so the chart has its own.
void ChartWindow::addLegendEntry(const QImage& picture, const QString& text) {
    legend_.emplace_back(new QGraphicsPixmapItem(QPixmap::fromImage(picture), chart_),
                         new QGraphicsSimpleTextItem(text, chart_));
}

void ChartWindow::placeOverlays() {
    const QList<QAbstractSeries*> series = chart_->series();
    if (series.isEmpty()) {
        return;
    }
    // Each label beside its line, moved down as far as it must not to cover the one above.
    std::vector<std::pair<QPointF, QGraphicsSimpleTextItem*>> labels;
    for (QGraphicsSimpleTextItem* label : levelLabels_) {
        const QPointF at = chart_->mapToPosition(label->data(0).toPointF(), series.front());
        labels.emplace_back(at - QPointF(0, label->boundingRect().height() / 2), label);
    }
    std::sort(labels.begin(), labels.end(),
              [](const auto& a, const auto& b) { return a.first.y() < b.first.y(); });
    qreal free = std::numeric_limits<qreal>::lowest();
    for (const auto& [at, label] : labels) {
        label->setPos(at.x(), std::max(at.y(), free));
        free = label->y() + label->boundingRect().height();
    }
    qreal x = chart_->plotArea().left();
    const qreal y = chart_->size().height() - kLegendHeight;
    for (const auto& [picture, text] : legend_) {
        picture->setPos(x, y);
        x += picture->boundingRect().width() + 4;
        text->setPos(x, y + (picture->boundingRect().height() - text->boundingRect().height()) / 2);
        x += text->boundingRect().width() + 16;
    }
}

std::string ChartWindow::picture(PictureFormat format) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(view_->size());
        svg.setViewBox(view_->rect());
        svg.setTitle(chart_->title());
        QPainter painter(&svg);
        view_->render(&painter);
    } else if (!view_->grab().save(&buffer, "PNG")) {
        return {};
    }
    return bytes.toStdString();
}

}  // namespace aurelant
