#pragma once

#include <QMainWindow>
#include <map>

#include "app/aurelant.h"

class QLabel;
class QPlainTextEdit;
class QAction;
class QFrame;

namespace aurelant {

class ChartWindow;

// The main window as Qt draws it: a view of the Aurelant model that forwards every click.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(Aurelant& model);

    // Writes the user's edits into the model, runs the named command and redraws.
    void runCommand(const std::string& name);
    // Redraws everything from the model, the price chart window included.
    void refresh();
    // Opens the price chart window beside this one, or brings it to the front.
    void showChart();

  private:
    void buildMenus();
    void buildToolbar(QWidget* central);
    void readUserEdits();

    Aurelant& model_;
    QFrame* toolbarStrip_ = nullptr;
    QLabel* infolabel_ = nullptr;
    QPlainTextEdit* maintext_ = nullptr;
    std::map<std::string, QAction*> actions_;
    ChartWindow* chart_ = nullptr;
    std::string shownText_;  // the model text last drawn, to notice the user's edits
};

}  // namespace aurelant
