#pragma once

#include <QMainWindow>
#include <map>

#include "app/aurelant.h"
#include "recentfiles.h"

class QLabel;
class QPlainTextEdit;
class QAction;
class QFrame;
class QMenu;

namespace aurelant {

class ChartWindow;
class QtPlatform;
class ReliabilityWindow;
class WatchlistWindow;

// The main window as Qt draws it: a view of the Aurelant model that forwards every click.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(Aurelant& model);

    // The program's start: start-up (its welcome box only without a file), the window at its
    // remembered place, then the file, when one is given, opened.
    void start(const QString& file);
    // Writes the user's edits into the model, runs the named command and redraws.
    void runCommand(const std::string& name);
    // Opens a history file chosen outside the Open dialog, as that command does after it.
    void openFile(const QString& path);
    // Redraws everything from the model, the price chart window included.
    void refresh();
    // Opens the price chart window beside this one, or brings it to the front.
    void showChart();
    // Opens the window of how reliable the last prediction is, or brings it to the front.
    void showReliability();
    // Opens the watchlist window, or brings it to the front.
    void showWatchlist();
    // Shows the window where it was last left, or at the layout's size in the screen's middle.
    void showAtRememberedPlace();
    // Hands `platform` what it reaches in the window: the dialogs' parent, the redraw, the side
    // windows and the check that refuses the open history file as a save's target.
    void connectPlatform(QtPlatform& platform);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    void buildToolbar(QWidget* central);
    void buildRecentFilesMenu();
    void fillRecentFilesMenu();
    void readUserEdits();
    void afterCommand();
    void placeGrowingControls();
    bool takeFileDrop(QEvent* event);
    void rememberRecentFile();

    Aurelant& model_;
    QString rememberedFile_;  // the file this window last put at the top of the recent files
    QWidget* central_ = nullptr;
    QFrame* toolbarStrip_ = nullptr;
    QLabel* infolabel_ = nullptr;
    QPlainTextEdit* maintext_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<std::string, QAction*> actions_;
    ChartWindow* chart_ = nullptr;
    ReliabilityWindow* reliability_ = nullptr;
    WatchlistWindow* watchlist_ = nullptr;
    std::string shownText_;  // the model text last drawn, to notice the user's edits
};

}  // namespace aurelant
