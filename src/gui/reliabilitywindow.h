#pragma once

#include <QWidget>

#include "chart/chartexport.h"
#include "chart/reliability.h"
#include "sidewindow.h"

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QTableWidget;
class QValueAxis;

namespace aurelant {

// How far the last prediction's stated probabilities deserve belief, beside the main window: the
// verdict, a reliability diagram, the share right over time and a table per year, which it saves
// as a picture or as CSV.
class ReliabilityWindow : public QWidget {
    Q_OBJECT

  public:
    ReliabilityWindow(AppState& window, QWidget* parent);

    // Redraws when another prediction run stands.
    void follow();
    // Shows the window, the first time where it was left or beside `main`.
    void showBeside(const QWidget* main);
    // The window's figures, without its buttons, as a picture file's bytes.
    std::string picture(PictureFormat format);

  private:
    void draw();
    void drawDiagram();
    void drawRecent();
    void drawTable();

    AppState& window_;
    ReliabilityReport model_;
    QWidget* figures_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* summary_ = nullptr;
    QChart* diagram_ = nullptr;
    QValueAxis* stated_ = nullptr;
    QValueAxis* cameTrue_ = nullptr;
    QChart* recent_ = nullptr;
    QCategoryAxis* years_ = nullptr;
    QValueAxis* share_ = nullptr;
    QChartView* diagramView_ = nullptr;
    QChartView* recentView_ = nullptr;
    QTableWidget* table_ = nullptr;
    SideWindow* side_ = nullptr;
};

}  // namespace aurelant
