#include "chartwindow.h"

#include <QAction>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "app/aurelant.h"
#include "chart/chartaxes.h"
#include "common/dates.h"
#include "widgetpicture.h"

namespace aurelant {
namespace {

const QColor kRising(0, 140, 0);
const QColor kFalling(200, 0, 0);
const QColor kUpMarker(0, 90, 220);
const QColor kDownMarker(230, 120, 0);
const QColor kLevel(90, 0, 140);
constexpr int kLegendHeight = 24;
constexpr int kLevelLabelGap = 6;
// Room that an axis label takes, for the number of ticks that fit.
constexpr int kDateLabelWidth = 110;
constexpr int kPriceLabelHeight = 40;

// The date axis counts days from 1 January of the year 1: Qt Charts takes no candle before its
// own zero, so date numbers, which are negative before 1900, are moved up by that many days.
const double kYearOne = dateNumber({1, 1, 1});

qreal axisDay(double date) {
    return date - kYearOne;
}

double dateOf(qreal axisDay) {
    return axisDay + kYearOne;
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

    // The tooltip of what the pointer rests on, at once and while it rests there; empty for none.
    void showTip(const QString& tip) {
        tip_ = tip;
        if (tip_.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(pointer_, tip_, viewport());
        }
    }

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
        pointer_ = event->globalPosition().toPoint();
        if (event->buttons() & Qt::LeftButton) {
            dragged((pressedAt_ - event->position().x()) / chart()->plotArea().width());
        }
        QChartView::mouseMoveEvent(event);  // the scene makes its hover events, the tooltips, of it
    }
    // The scene would answer the pointer's resting with the tooltips of its items, which have
    // none, and so hide the one shown.
    bool viewportEvent(QEvent* event) override {
        if (event->type() != QEvent::ToolTip) {
            return QChartView::viewportEvent(event);
        }
        pointer_ = static_cast<QHelpEvent*>(event)->globalPos();
        showTip(tip_);
        return true;
    }

  private:
    qreal pressedAt_ = 0;
    QPoint pointer_;  // on the screen, where a tooltip goes
    QString tip_;
};

}  // namespace

ChartWindow::ChartWindow(AppState& window, QWidget* parent)
    : QWidget(parent, Qt::Window), window_(window) {
    setObjectName("chart");
    setWindowTitle("Price Chart");
    side_ = new SideWindow(*this, "chartGeometry", QSize(960, 600));
    addMoveKeys();

    chart_ = new QChart;
    chart_->legend()->hide();
    margins_ = chart_->margins() + QMargins(0, 0, 0, kLegendHeight);
    chart_->setMargins(margins_);
    dates_ = new QCategoryAxis(chart_);
    dates_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    prices_ = new QValueAxis(chart_);
    prices_->setTickType(QValueAxis::TicksDynamic);
    prices_->setTickAnchor(0);
    chart_->addAxis(dates_, Qt::AlignBottom);
    // Candles take no labelled axis: they go on a hidden one that spans the same days.
    candleDays_ = new QValueAxis(chart_);
    candleDays_->setVisible(false);
    chart_->addAxis(candleDays_, Qt::AlignBottom);
    chart_->addAxis(prices_, Qt::AlignLeft);  // the right side holds the levels' labels
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
    addButton(*this, *buttons, "recent", "&Last 120 Days", [this] {
        model_.showRecent();
        draw();
    });
    addButton(*this, *buttons, "whole", "&Whole History", [this] {
        model_.showWhole();
        draw();
    });
    // Their dialogs belong to the main window, which the desktop brings to the front after them.
    addButton(*this, *buttons, "export", "&Save as Picture...", [this] {
        exportChart(window_, [this](PictureFormat format) { return picture(format); });
        side_->show(nullptr);
    });
    addButton(*this, *buttons, "printchart", "&Print...", [this] {
        printChart(window_, picture(PictureFormat::Png));
        side_->show(nullptr);
    });
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

void ChartWindow::showBeside(const QWidget* main) {
    side_->show(main);
}

void ChartWindow::addMoveKeys() {
    const std::pair<ChartMove, QList<QKeySequence>> keys[] = {
        {ChartMove::ZoomIn, {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)}},
        {ChartMove::ZoomOut, {QKeySequence(Qt::Key_Minus)}},
        {ChartMove::Earlier, {QKeySequence(Qt::Key_Left)}},
        {ChartMove::Later, {QKeySequence(Qt::Key_Right)}},
        {ChartMove::First, {QKeySequence(Qt::Key_Home)}},
        {ChartMove::Latest, {QKeySequence(Qt::Key_End)}},
    };
    for (const auto& [move, sequences] : keys) {
        auto* action = new QAction(this);
        action->setShortcuts(sequences);
        connect(action, &QAction::triggered, this, [this, move] {
            model_.move(move);
            draw();
        });
        addAction(action);
    }
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

// The number of ticks that fit changes with the size.
void ChartWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (model_.daysInView() > 0) {
        drawAxes();
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
    drawAxes();
    // A series of markers takes the pointer's hovering over the whole plot, so the candles go
    // above it, or their tooltips would never show.
    drawMarkers();
    drawCandles(candles);
    drawLevels();
    placeOverlays();
}

// Round dates and round prices, as many as fit.
void ChartWindow::drawAxes() {
    const auto [first, last] = model_.dateSpan();
    for (const QString& label : dates_->categoriesLabels()) {
        dates_->remove(label);
    }
    dates_->setStartValue(axisDay(first) - 1);
    for (const DateTick& tick : dateTicks(first, last, view_->width() / kDateLabelWidth)) {
        dates_->append(QString::fromStdString(tick.label), axisDay(tick.date));
    }
    dates_->setRange(axisDay(first), axisDay(last));
    candleDays_->setRange(axisDay(first), axisDay(last));
    const auto [low, high] = model_.priceSpan();
    const PriceAxis axis = priceAxis(low, high, view_->height() / kPriceLabelHeight);
    prices_->setRange(axis.low, axis.high);
    prices_->setTickInterval(axis.step);
    prices_->setLabelFormat(QString("%.%1f").arg(axis.decimals));
}

void ChartWindow::drawCandles(const std::vector<Candle>& candles) {
    auto* series = new QCandlestickSeries;
    series->setName("Prices");
    series->setIncreasingColor(kRising);
    series->setDecreasingColor(kFalling);
    series->setBodyOutlineVisible(false);
    QList<QCandlestickSet*> sets;
    for (const Candle& candle : candles) {
        const DayPrices& p = candle.prices;
        sets.append(new QCandlestickSet(p.open, p.high, p.low, p.close, axisDay(candle.date)));
    }
    series->append(sets);
    connect(series, &QCandlestickSeries::hovered, this, [this](bool on, QCandlestickSet* set) {
        showTip(on ? model_.candleTip(dateOf(set->timestamp())) : std::string());
    });
    addSeries(series, candleDays_);
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
            connect(series, &QScatterSeries::hovered, this, [this](const QPointF& point, bool on) {
                showTip(on ? model_.markerTip(dateOf(point.x())) : std::string());
            });
        }
        series->append(axisDay(marker.date), marker.up ? marker.price - gap : marker.price + gap);
    }
    for (QScatterSeries* series : {kinds[1][1], kinds[1][0], kinds[0][1], kinds[0][0]}) {
        if (series != nullptr) {
            addSeries(series);
            addLegendEntry(series->lightMarker(), series->name());
        }
    }
}

// Dashed lines across the view, labelled in the margin to the right of it, so that the labels
// cover no candle and the candles take the whole width. They belong to the day after the latest,
// so they show only while that day is in view; their margin stays, so that the candles keep their
// width while the view moves.
void ChartWindow::drawLevels() {
    qreal widest = 0;
    const bool shown = model_.latestInView();
    for (const ChartLevel& level : model_.levels()) {
        if (shown) {
            auto* series = new QLineSeries;
            series->setPen(QPen(kLevel, level.name == "Open" ? 1.5 : 1, Qt::DashLine));
            series->append(dates_->min(), level.price);
            series->append(dates_->max(), level.price);
            addSeries(series);
        }
        auto* label = new QGraphicsSimpleTextItem(
            QString::fromStdString(level.name + " " + level.text), chart_);
        label->setBrush(kLevel);
        label->setData(0, level.price);
        label->setVisible(shown);
        levelLabels_.push_back(label);
        widest = std::max(widest, label->boundingRect().width());
    }
    const int room = widest > 0 ? static_cast<int>(std::ceil(widest)) + 2 * kLevelLabelGap : 0;
    chart_->setMargins(margins_ + QMargins(0, 0, room, 0));
}

void ChartWindow::showTip(const std::string& tip) {
    static_cast<ChartView*>(view_)->showTip(QString::fromStdString(tip));
}

void ChartWindow::addSeries(QAbstractSeries* series, QValueAxis* days) {
    chart_->addSeries(series);
    series->attachAxis(days != nullptr ? days : dates_);
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
        const QPointF at = chart_->mapToPosition(QPointF(dates_->max(), label->data(0).toDouble()),
                                                 series.front());
        labels.emplace_back(at + QPointF(kLevelLabelGap, -label->boundingRect().height() / 2),
                            label);
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
    return widgetPicture(*view_, format, chart_->title());
}

}  // namespace aurelant
