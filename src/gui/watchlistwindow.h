#pragma once

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "watchlist/watchlist.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace aurelant {

class SideWindow;

// The watchlist's rows as Qt's table views read them, in the model's shown order.
class WatchlistTable : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit WatchlistTable(Watchlist& watchlist, QObject* parent);

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

    // What answers a question about a typed Open: whether to use it.
    void setConfirmation(std::function<bool(const std::string&)> confirms) {
        confirms_ = std::move(confirms);
    }
    // Takes the model's rows anew.
    void reshow();
    std::size_t watchRow(int shownRow) const {
        return shown_.at(static_cast<std::size_t>(shownRow));
    }

  signals:
    void openChanged();

  private:
    bool takeOpen(const QModelIndex& index, const std::string& text);

    Watchlist& watchlist_;
    std::function<bool(const std::string&)> confirms_;
    std::vector<std::size_t> shown_;
    std::vector<std::string> shownPaths_;  // the files of the rows as the view last saw them
};

// The watchlist window: the prediction of every price file in a folder, made in the background
// on all cores. It writes no file but the table the user saves.
class WatchlistWindow : public QWidget {
    Q_OBJECT

  public:
    // `openFile` opens a file in the main window as File > Open does.
    WatchlistWindow(std::function<void(const QString&)> openFile, QWidget* parent);
    ~WatchlistWindow() override;
    // What refuses a file as the saved table (the open history file), after a message.
    void setOutputCheck(std::function<bool(const std::string&)> refuses) {
        refusesOutput_ = std::move(refuses);
    }

    // Its size the first time it opens, where the screen has room: the columns shown at first
    // fit.
    QSize firstSize() const;
    // Shows the window beside the main window, or brings it to the front.
    void showBeside(const QWidget* main);
    // Shows the remembered folder's files, or asks for a folder when none is remembered.
    void start();
    void loadFolder(const QString& folder);
    // Predicts the files that changed on disk since their prediction.
    void refresh();
    const Watchlist& watchlist() const { return watchlist_; }
    // Whether predictions are being made.
    bool busy() const { return inFlight_.size() > 0; }
    // Updates every file that remembers a source, in the background, then predicts them again.
    void updateAll();
    bool updating() const { return updatesLeft_ > 0; }

  private:
    void fitColumns();
    void offerColumns();
    void rememberHiddenColumns();
    QString emptyTableNote() const;
    void noteEmptyTable();
    void chooseFolder();
    void saveTable();
    void cancel();
    void startJobs();
    void takeResult(const WatchJob& job, const std::optional<FilePrediction>& prediction,
                    const std::optional<FileStamp>& stamp);
    void watchFiles();
    void showProgress();
    void takeUpdate(const std::string& path, const std::string& result);

    std::function<void(const QString&)> openFile_;
    std::function<bool(const std::string&)> refusesOutput_;
    Watchlist watchlist_;
    WatchlistTable* table_;
    QTableView* view_;
    QLabel* folderLabel_;
    QLabel* emptyNote_;  // over the table when it shows no row
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* updateAll_;
    QCheckBox* confidentOnly_;
    SideWindow* side_;
    QFileSystemWatcher watcher_;
    QTimer redraw_;   // gathers the redraws of results that arrive together
    QTimer changes_;  // gathers the changes on disk that come together
    std::shared_ptr<std::atomic<bool>> cancelled_;
    std::set<std::string> inFlight_;  // the jobs handed out and not yet back, by path
    int batch_ = 0;                   // jobs handed out since the window was last idle
    int updates_ = 0;                 // files of the running Update All
    int updatesLeft_ = 0;
    QThreadPool pool_;      // its end waits for the jobs that use the window
    std::jthread updater_;  // last: its end stops the update and waits for it
};

}  // namespace aurelant
