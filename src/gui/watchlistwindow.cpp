#include "watchlistwindow.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <unordered_map>

#include "common/dayorder.h"
#include "common/errors.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "qtplatform.h"
#include "quotes/curlclient.h"
#include "settings.h"
#include "sidewindow.h"

namespace aurelant {
namespace {

constexpr const char* kFolderKey = "watchlist/folder";
constexpr int kRedrawMilliseconds = 150;
constexpr int kChangeMilliseconds = 500;

bool isOpenColumn(const QModelIndex& index) {
    return static_cast<WatchColumn>(index.column()) == WatchColumn::Open;
}

}  // namespace

WatchlistTable::WatchlistTable(Watchlist& watchlist, QObject* parent)
    : QAbstractTableModel(parent), watchlist_(watchlist) {}

int WatchlistTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int WatchlistTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kWatchColumns);
}

QVariant WatchlistTable::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole) {
        const bool figures = Watchlist::holdsFigures(static_cast<WatchColumn>(index.column()));
        return QVariant::fromValue(Qt::AlignVCenter | (figures ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) {
        return {};
    }
    const std::size_t row = watchRow(index.row());
    if (role == Qt::ToolTipRole) {
        return QString::fromStdString(watchlist_.row(row).path);
    }
    return QString::fromStdString(watchlist_.cell(row, static_cast<WatchColumn>(index.column())));
}

QVariant WatchlistTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return QString(Watchlist::heading(static_cast<WatchColumn>(section)));
}

Qt::ItemFlags WatchlistTable::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return isOpenColumn(index) ? flags | Qt::ItemIsEditable : flags;
}

bool WatchlistTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !isOpenColumn(index) ||
        !watchlist_.setOpen(watchRow(index.row()), value.toString().toStdString())) {
        return false;
    }
    emit dataChanged(index, index);
    emit openChanged();
    return true;
}

void WatchlistTable::sort(int column, Qt::SortOrder order) {
    watchlist_.sortBy(static_cast<WatchColumn>(column), order == Qt::AscendingOrder);
    reshow();
}

// The current cell, the selection and an open editor stay with their file when rows move.
void WatchlistTable::reshow() {
    emit layoutAboutToBeChanged();
    shown_ = watchlist_.shownRows();
    std::vector<std::string> paths;
    std::unordered_map<std::string, int> place;
    for (const std::size_t row : shown_) {
        place.emplace(watchlist_.row(row).path, static_cast<int>(paths.size()));
        paths.push_back(watchlist_.row(row).path);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& old : before) {
        const auto found = place.find(shownPaths_.at(static_cast<std::size_t>(old.row())));
        after << (found == place.end() ? QModelIndex() : index(found->second, old.column()));
    }
    changePersistentIndexList(before, after);
    shownPaths_ = std::move(paths);
    emit layoutChanged();
}

WatchlistWindow::WatchlistWindow(std::function<void(const QString&)> openFile, QWidget* parent)
    : QWidget(parent, Qt::Window),
      openFile_(std::move(openFile)),
      table_(new WatchlistTable(watchlist_, this)),
      view_(new QTableView(this)),
      folderLabel_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this)),
      updateAll_(new QPushButton(tr("&Update All"), this)),
      confidentOnly_(new QCheckBox(tr("Confident predictions only"), this)),
      side_(new SideWindow(*this, "watchlistGeometry", QSize(980, 560))),
      cancelled_(std::make_shared<std::atomic<bool>>(false)) {
    setWindowTitle(tr("Watchlist"));
    view_->setModel(table_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(static_cast<int>(WatchColumn::Probability), Qt::DescendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 8);

    auto* folderButton = new QPushButton(tr("&Folder..."), this);
    auto* refreshButton = new QPushButton(tr("&Refresh"), this);
    auto* saveButton = new QPushButton(tr("&Save Table..."), this);
    auto* top = new QHBoxLayout;
    top->addWidget(folderButton);
    top->addWidget(folderLabel_, 1);
    top->addWidget(confidentOnly_);
    top->addWidget(refreshButton);
    top->addWidget(updateAll_);
    top->addWidget(saveButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
    progress_->hide();
    cancel_->hide();

    connect(folderButton, &QPushButton::clicked, this, &WatchlistWindow::chooseFolder);
    connect(refreshButton, &QPushButton::clicked, this, &WatchlistWindow::refresh);
    connect(updateAll_, &QPushButton::clicked, this, &WatchlistWindow::updateAll);
    connect(saveButton, &QPushButton::clicked, this, &WatchlistWindow::saveTable);
    connect(cancel_, &QPushButton::clicked, this, &WatchlistWindow::cancel);
    connect(confidentOnly_, &QCheckBox::toggled, this, [this](bool only) {
        watchlist_.setConfidentOnly(only);
        table_->reshow();
    });
    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!isOpenColumn(index)) {
            openFile_(QString::fromStdString(watchlist_.row(table_->watchRow(index.row())).path));
        }
    });
    connect(table_, &WatchlistTable::openChanged, this, &WatchlistWindow::startJobs);
    redraw_.setSingleShot(true);
    redraw_.setInterval(kRedrawMilliseconds);
    connect(&redraw_, &QTimer::timeout, table_, &WatchlistTable::reshow);
    changes_.setSingleShot(true);
    changes_.setInterval(kChangeMilliseconds);
    connect(&changes_, &QTimer::timeout, this, &WatchlistWindow::refresh);
    // The first change of a burst starts the wait and later ones do not restart it, so that a
    // file rewritten without pause does not keep the others from being shown.
    const auto changed = [this] {
        if (!changes_.isActive()) {
            changes_.start();
        }
    };
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, changed);
}

WatchlistWindow::~WatchlistWindow() {
    cancelled_->store(true);
    pool_.clear();
    pool_.waitForDone();
}

void WatchlistWindow::showBeside(const QWidget* main) {
    side_->show(main);
}

void WatchlistWindow::start() {
    const QString folder = rememberedValue(kFolderKey).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        chooseFolder();
    } else if (folder.toStdString() != watchlist_.folder()) {
        loadFolder(folder);
    }
}

void WatchlistWindow::chooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Choose a Folder of Price Files"), QString::fromStdString(watchlist_.folder()));
    if (!folder.isEmpty()) {
        loadFolder(folder);
    }
}

void WatchlistWindow::loadFolder(const QString& folder) {
    cancel();
    if (const std::optional<std::string> problem = watchlist_.setFolder(folder.toStdString())) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(*problem));
        return;
    }
    rememberValue(kFolderKey, folder);
    folderLabel_->setText(QDir::toNativeSeparators(folder));
    table_->reshow();
    watchFiles();
    startJobs();
}

void WatchlistWindow::refresh() {
    if (watchlist_.folder().empty()) {
        return;
    }
    if (watchlist_.refresh()) {
        table_->reshow();
        watchFiles();
    }
    startJobs();
}

void WatchlistWindow::watchFiles() {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    QStringList paths{QString::fromStdString(watchlist_.folder())};
    for (std::size_t row = 0; row < watchlist_.rowCount(); ++row) {
        paths << QString::fromStdString(watchlist_.row(row).path);
    }
    watcher_.addPaths(paths);
}

// Hands every waiting row that is not already being read to the pool. After a Cancel, the jobs
// still out keep their cancelled flag and the new ones get a fresh one; a row whose cancelled
// job comes back unread is handed out again once the pool is idle.
void WatchlistWindow::startJobs() {
    if (cancelled_->load()) {
        cancelled_ = std::make_shared<std::atomic<bool>>(false);
    }
    if (inFlight_.empty()) {
        batch_ = 0;
    }
    for (const WatchJob& job : watchlist_.pendingJobs()) {
        if (!inFlight_.insert(job.path).second) {
            continue;
        }
        ++batch_;
        pool_.start([this, job, cancelled = cancelled_, dayFirst = localeWritesDayFirst()] {
            if (cancelled->load()) {
                QMetaObject::invokeMethod(
                    this, [this, job] { takeResult(job, std::nullopt, std::nullopt); });
                return;
            }
            const std::optional<FileStamp> stamp = stampOf(job.path);
            FilePrediction prediction = predictHistoryFile(job.path, job.open, kLineEnd, dayFirst);
            QMetaObject::invokeMethod(
                this, [this, job, prediction, stamp] { takeResult(job, prediction, stamp); });
        });
    }
    showProgress();
}

// A job's prediction, or nothing for a job cancelled before it began.
void WatchlistWindow::takeResult(const WatchJob& job,
                                 const std::optional<FilePrediction>& prediction,
                                 const std::optional<FileStamp>& stamp) {
    inFlight_.erase(job.path);
    if (prediction) {
        watchlist_.setPrediction(job, *prediction, stamp);
    }
    if (!redraw_.isActive()) {
        redraw_.start();
    }
    if (inFlight_.empty() && !cancelled_->load()) {
        startJobs();  // rows whose file or Open changed while they were read, or left unread
    }
    showProgress();
}

void WatchlistWindow::showProgress() {
    const bool working = !inFlight_.empty() || updating();
    progress_->setVisible(working);
    cancel_->setVisible(working);
    updateAll_->setEnabled(!updating());
    progress_->setRange(0, updating() ? updates_ : batch_);
    progress_->setValue(updating() ? updates_ - updatesLeft_
                                   : batch_ - static_cast<int>(inFlight_.size()));
    if (!working) {
        table_->reshow();
    }
}

void WatchlistWindow::cancel() {
    cancelled_->store(true);
    updater_.request_stop();
}

// The files update on a thread of their own, which waits on the network most of the time; each
// result comes back to the window as it ends.
void WatchlistWindow::updateAll() {
    std::vector<quotes::FileJob> jobs = watchlist_.updateJobs();
    if (jobs.empty()) {
        QMessageBox::information(this, windowTitle(),
                                 tr("No file of this folder has a source on the web yet. Give it "
                                    "one with File > Update from the Web."));
        return;
    }
    updater_ = {};  // the last update has ended: its thread is joined
    updates_ = updatesLeft_ = static_cast<int>(jobs.size());
    const QDate today = QDate::currentDate();
    const quotes::UpdateOptions options{{today.year(), today.month(), today.day()}};
    updater_ = std::jthread([this, jobs = std::move(jobs), options](std::stop_token stop) {
        quotes::CurlClient client;
        quotes::PoliteFetcher fetcher(client);
        quotes::updateAll(jobs, options, fetcher, stop,
                          [&](std::size_t index, const quotes::UpdateResult& result) {
                              QMetaObject::invokeMethod(
                                  this, [this, path = jobs[index].path, text = result.summary()] {
                                      takeUpdate(path, text);
                                  });
                          });
    });
    showProgress();
}

void WatchlistWindow::takeUpdate(const std::string& path, const std::string& result) {
    watchlist_.setUpdated(path, result);
    --updatesLeft_;
    table_->reshow();
    if (!updating()) {
        refresh();  // the files that gained days are predicted again
    }
    showProgress();
}

void WatchlistWindow::saveTable() {
    const QString target = QFileDialog::getSaveFileName(this, tr("Save Table"), "watchlist.csv",
                                                        tr("CSV files (*.csv)"));
    if (target.isEmpty() || (refusesOutput_ && refusesOutput_(target.toStdString()))) {
        return;
    }
    try {
        const std::string table = watchlist_.csv();
        writeUserFile(target.toStdString(), [&table](LineWriter& writer) { writer.write(table); });
    } catch (const AppError& error) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(error.description()));
    }
}

}  // namespace aurelant
