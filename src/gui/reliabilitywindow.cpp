#include "reliabilitywindow.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "common/dates.h"
#include "state/appstate.h"
#include "widgetpicture.h"

namespace aurelant {
namespace {

const QColor kStated(120, 120, 120);
const QColor kCameTrue(0, 90, 220);
const QColor kUsual(230, 120, 0);
constexpr double kSmallestPoint = 9;
constexpr double kLargestPoint = 40;
constexpr int kMostYearLabels = 8;

double downToFive(double value) {
    return 5 * std::floor(value / 5);
}

double upToFive(double value) {
    return 5 * std::ceil(value / 5);
}

QLineSeries* line(const QString& name, const QPen& pen) {
    auto* series = new QLineSeries;
    series->setName(name);
    series->setPen(pen);
    return series;
}

void addTo(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y,
           bool inLegend = true) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
    if (!inLegend) {
        for (QLegendMarker* marker : chart->legend()->markers(series)) {
            marker->setVisible(false);
        }
    }
}

QChartView* viewOf(QChart* chart, const char* name, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 300);
    return view;
}

}  // namespace

ReliabilityWindow::ReliabilityWindow(AppState& window, QWidget* parent)
    : QWidget(parent, Qt::Window), window_(window) {
    setObjectName("reliability");
    setWindowTitle("How Reliable Is It?");
    side_ = new SideWindow(*this, "reliabilityGeometry", QSize(980, 760));

    auto* buttons = new QHBoxLayout;
    // Their dialogs belong to the main window, which the desktop brings to the front after them.
    addButton(*this, *buttons, "export", "Save as &Picture...", [this] {
        exportPicture(window_, "Save the Reliability as a Picture", "-reliability.png",
                      [this](PictureFormat format) { return picture(format); });
        side_->show(nullptr);
    });
    addButton(*this, *buttons, "savetable", "Save &Table...", [this] {
        saveReliabilityTable(window_, model_);
        side_->show(nullptr);
    });
    buttons->addStretch();

    figures_ = new QWidget(this);
    figures_->setAutoFillBackground(true);
    verdict_ = new QLabel(figures_);
    verdict_->setObjectName("verdict");
    verdict_->setWordWrap(true);
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);
    summary_ = new QLabel(figures_);
    summary_->setObjectName("summary");
    summary_->setWordWrap(true);

    diagram_ = new QChart;
    diagram_->setTitle("Stated probability against the share that came true");
    stated_ = new QValueAxis(diagram_);
    stated_->setTitleText("Stated probability (%)");
    cameTrue_ = new QValueAxis(diagram_);
    cameTrue_->setTitleText("Came true (%)");
    for (QValueAxis* axis : {stated_, cameTrue_}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setLabelFormat("%.1f");
    }
    diagram_->addAxis(stated_, Qt::AlignBottom);
    diagram_->addAxis(cameTrue_, Qt::AlignLeft);
    diagramView_ = viewOf(diagram_, "diagram", figures_);

    recent_ = new QChart;
    recent_->setTitle(QString("Share right over the last %1 predictions").arg(kRecentWindow));
    years_ = new QCategoryAxis(recent_);
    years_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    share_ = new QValueAxis(recent_);
    share_->setTitleText("%");
    recent_->addAxis(years_, Qt::AlignBottom);
    recent_->addAxis(share_, Qt::AlignLeft);
    recentView_ = viewOf(recent_, "recent", figures_);

    table_ = new QTableWidget(figures_);
    table_->setObjectName("years");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* charts = new QHBoxLayout;
    charts->addWidget(diagramView_);
    charts->addWidget(recentView_);
    auto* figures = new QVBoxLayout(figures_);
    figures->addWidget(verdict_);
    figures->addWidget(summary_);
    figures->addLayout(charts, 3);
    figures->addWidget(table_, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(figures_, 1);
    follow();
}

void ReliabilityWindow::showBeside(const QWidget* main) {
    side_->show(main);
}

void ReliabilityWindow::follow() {
    if (model_.follow(window_)) {
        draw();
    }
}

std::string ReliabilityWindow::picture(PictureFormat format) {
    return widgetPicture(*figures_, format, QString::fromStdString(model_.title()));
}

void ReliabilityWindow::draw() {
    setWindowTitle(QString::fromStdString(model_.title()));
    const bool ready = model_.ready();
    verdict_->setText(ready ? QString::fromStdString(model_.verdict())
                            : QString(ReliabilityReport::predictFirst()));
    summary_->setText(QString::fromStdString(model_.summary()));
    for (QWidget* part :
         std::initializer_list<QWidget*>{summary_, diagramView_, recentView_, table_}) {
        part->setVisible(ready);
    }
    findChild<QPushButton*>("export")->setEnabled(ready);
    findChild<QPushButton*>("savetable")->setEnabled(ready);
    drawDiagram();
    drawRecent();
    drawTable();
}

// The diagonal is where a stated probability came true exactly as often as it said.
void ReliabilityWindow::drawDiagram() {
    diagram_->removeAllSeries();
    const std::vector<ReliabilityPoint>& points = model_.points();
    if (points.empty()) {
        return;
    }
    double low = 50;
    double high = 0;
    int most = 1;
    for (const ReliabilityPoint& point : points) {
        low = std::min({low, point.interval.low, point.probability});
        high = std::max({high, point.interval.high, point.probability});
        most = std::max(most, point.predictions);
    }
    stated_->setRange(50, upToFive(points.back().probability + 1));
    stated_->setTickInterval(2.5);
    cameTrue_->setRange(downToFive(low), upToFive(high));
    cameTrue_->setTickInterval(cameTrue_->max() - cameTrue_->min() > 40 ? 10 : 5);
    auto* diagonal = line("as stated", QPen(kStated, 1.5, Qt::DashLine));
    diagonal->append(0, 0);
    diagonal->append(100, 100);
    addTo(diagram_, diagonal, stated_, cameTrue_);
    bool first = true;
    for (const ReliabilityPoint& point : points) {
        auto* interval = line("95 % interval", QPen(kCameTrue, 2));
        interval->append(point.probability, point.interval.low);
        interval->append(point.probability, point.interval.high);
        addTo(diagram_, interval, stated_, cameTrue_, first);
        // The point's area grows with the number of predictions.
        auto* dot = new QScatterSeries;
        dot->setName("came true (area: predictions)");
        dot->setColor(kCameTrue);
        dot->setBorderColor(Qt::white);
        dot->setMarkerSize(kSmallestPoint +
                           (kLargestPoint - kSmallestPoint) *
                               std::sqrt(static_cast<double>(point.predictions) / most));
        dot->append(point.probability, point.percentRight);
        dot->setPointLabelsFormat(QString::number(point.predictions));
        dot->setPointLabelsVisible(true);
        dot->setPointLabelsClipping(false);
        addTo(diagram_, dot, stated_, cameTrue_, first);
        first = false;
    }
}

// Judged predictions run along the bottom, labelled with the year where one begins.
void ReliabilityWindow::drawRecent() {
    recent_->removeAllSeries();
    for (const QString& label : years_->categoriesLabels()) {
        years_->remove(label);
    }
    const std::vector<RecentShare>& shares = model_.recent();
    if (shares.empty()) {
        recent_->setTitle(
            QString("Fewer than %1 judged predictions: no share over time").arg(kRecentWindow));
        return;
    }
    recent_->setTitle(QString("Share right over the last %1 predictions").arg(kRecentWindow));
    auto* right = line("share right", QPen(kCameTrue, 1.5));
    auto* stated = line("mean stated probability", QPen(kStated, 1.5));
    std::vector<std::pair<double, int>> yearStarts;
    double low = 100;
    double high = 0;
    for (const RecentShare& share : shares) {
        const auto at = static_cast<double>(share.judged);
        right->append(at, share.percentRight);
        stated->append(at, share.meanProbability);
        low = std::min({low, share.percentRight, share.meanProbability});
        high = std::max({high, share.percentRight, share.meanProbability});
        const int year = yearOfDate(share.date);
        if (yearStarts.empty() || yearStarts.back().second != year) {
            yearStarts.emplace_back(at, year);
        }
    }
    const double first = static_cast<double>(shares.front().judged);
    const double last = static_cast<double>(shares.back().judged);
    auto* usual = line("usual direction", QPen(kUsual, 1, Qt::DashLine));
    usual->append(first, model_.usualPercent());
    usual->append(last, model_.usualPercent());
    low = std::min(low, model_.usualPercent());
    high = std::max(high, model_.usualPercent());
    const std::size_t step = yearStarts.size() / kMostYearLabels + 1;
    years_->setStartValue(first);
    for (std::size_t index = 0; index < yearStarts.size(); index += step) {
        years_->append(QString::number(yearStarts[index].second), yearStarts[index].first);
    }
    years_->setRange(first, last);
    share_->setRange(downToFive(low), upToFive(high));
    for (QLineSeries* series : {right, stated, usual}) {
        addTo(recent_, series, years_, share_);
    }
}

void ReliabilityWindow::drawTable() {
    const std::vector<std::string>& headings = ReliabilityReport::tableHeadings();
    const std::vector<std::vector<std::string>> rows = model_.tableRows();
    table_->clear();
    table_->setColumnCount(static_cast<int>(headings.size()));
    table_->setRowCount(static_cast<int>(rows.size()));
    QStringList labels;
    for (const std::string& heading : headings) {
        labels << QString::fromStdString(heading);
    }
    table_->setHorizontalHeaderLabels(labels);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[row][column]));
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(row), static_cast<int>(column), item);
        }
    }
    table_->scrollToBottom();
}

}  // namespace aurelant
