#include "watchlistwindow.h"

#include <QAction>
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
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
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

constexpr const char* kHiddenKey = "watchlist/hiddenColumns";
// The columns that the window's first size leaves out until the header's menu shows them; Update
// All shows its own.
constexpr std::array kHiddenAtFirst{WatchColumn::Records, WatchColumn::Confident,
                                    WatchColumn::PercentReached, WatchColumn::Updated};

WatchColumn columnOf(const QModelIndex& index) {
    return static_cast<WatchColumn>(index.column());
}

bool isOpenColumn(const QModelIndex& index) {
    return columnOf(index) == WatchColumn::Open;
}

QStringList headingsOf(const std::vector<WatchColumn>& columns) {
    QStringList headings;
    for (const WatchColumn column : columns) {
        headings << watchColumn(column).heading;
    }
    return headings;
}

}  // namespace

WatchlistTable::WatchlistTable(Watchlist& watchlist, QObject* parent)
    : QAbstractTableModel(parent), watchlist_(watchlist) {}

int WatchlistTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int WatchlistTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(watchColumns().size());
}

QVariant WatchlistTable::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole) {
        const bool figures = watchColumn(columnOf(index)).figure != nullptr;
        return QVariant::fromValue(Qt::AlignVCenter | (figures ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) {
        return {};
    }
    const std::size_t row = watchRow(index.row());
    // The full path of a file, and the whole of a cell that its column may cut short.
    if (role == Qt::ToolTipRole && columnOf(index) == WatchColumn::Name) {
        return QDir::toNativeSeparators(QString::fromStdString(watchlist_.row(row).path));
    }
    return QString::fromStdString(watchlist_.cell(row, columnOf(index)));
}

QVariant WatchlistTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return QString(watchColumn(static_cast<WatchColumn>(section)).heading);
}

Qt::ItemFlags WatchlistTable::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return isOpenColumn(index) ? flags | Qt::ItemIsEditable : flags;
}

bool WatchlistTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !isOpenColumn(index)) {
        return false;
    }
    const std::string text = value.toString().toStdString();
    const std::optional<std::string> question =
        watchlist_.farOpenQuestion(watchRow(index.row()), text);
    if (!question) {
        return takeOpen(index, text);
    }
    // Asked once the editor has closed, so that the question does not take the focus from it
    // while it commits; the cell follows its file if the rows move meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this, cell = QPersistentModelIndex(index), text, question = *question] {
            if (confirms_ && confirms_(question) && cell.isValid()) {
                takeOpen(cell, text);
            }
        },
        Qt::QueuedConnection);
    return false;
}

bool WatchlistTable::takeOpen(const QModelIndex& index, const std::string& text) {
    if (!watchlist_.setOpen(watchRow(index.row()), text)) {
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
      emptyNote_(new QLabel),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this)),
      updateAll_(new QPushButton(tr("&Update All"), this)),
      confidentOnly_(new QCheckBox(tr("Confident predictions only"), this)),
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
    view_->setTextElideMode(Qt::ElideMiddle);  // a name's end tells files apart
    table_->setConfirmation([this](const std::string& question) {
        return QMessageBox::question(this, windowTitle(), QString::fromStdString(question),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
    fitColumns();
    offerColumns();
    auto* emptyNoteLayout = new QVBoxLayout(view_->viewport());
    emptyNoteLayout->addWidget(emptyNote_, 0, Qt::AlignCenter);
    emptyNote_->setWordWrap(true);
    emptyNote_->hide();
    connect(table_, &QAbstractItemModel::layoutChanged, this, &WatchlistWindow::noteEmptyTable);

    // A long folder name is cut short rather than widening the window.
    folderLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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
    side_ = new SideWindow(*this, "watchlistGeometry", firstSize());

    connect(folderButton, &QPushButton::clicked, this, &WatchlistWindow::chooseFolder);
    connect(refreshButton, &QPushButton::clicked, this, &WatchlistWindow::refresh);
    connect(updateAll_, &QPushButton::clicked, this, &WatchlistWindow::updateAll);
    connect(saveButton, &QPushButton::clicked, this, &WatchlistWindow::saveTable);
    connect(cancel_, &QPushButton::clicked, this, &WatchlistWindow::cancel);
    connect(confidentOnly_, &QCheckBox::toggled, this, [this](bool only) {
        watchlist_.setConfidentOnly(only);
        table_->reshow();
    });
    // A double-click, or Enter, outside an Open being typed.
    connect(view_, &QTableView::activated, this, [this](const QModelIndex& index) {
        openFile_(QString::fromStdString(watchlist_.row(table_->watchRow(index.row())).path));
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

// Headings at their width with the sort arrow's room, figures at the width of a price, dates
// whole, and room for a name of 24 letters.
void WatchlistWindow::fitColumns() {
    QHeaderView* header = view_->horizontalHeader();
    const QFontMetrics metrics = view_->fontMetrics();
    const int padding = metrics.averageCharWidth() + 12;
    const auto fit = [&](WatchColumn column, const QString& widest) {
        header->resizeSection(static_cast<int>(column),
                              std::max(metrics.horizontalAdvance(watchColumn(column).heading),
                                       metrics.horizontalAdvance(widest)) +
                                  padding);
    };
    for (const WatchColumnKind& kind : watchColumns()) {
        fit(kind.column, kind.figure != nullptr ? "00000.00" : "");
    }
    fit(WatchColumn::Name, QString(24, 'x'));
    fit(WatchColumn::LastDate, "00-May-0000");
    fit(WatchColumn::CameTrue, "100 % of 000");
}

// The header's context menu shows and hides the columns; the window remembers which are hidden.
void WatchlistWindow::offerColumns() {
    QHeaderView* header = view_->horizontalHeader();
    header->setContextMenuPolicy(Qt::ActionsContextMenu);
    const QVariant remembered = rememberedValue(kHiddenKey);
    const QStringList hidden =
        remembered.isValid()
            ? remembered.toStringList()
            : headingsOf(std::vector<WatchColumn>(kHiddenAtFirst.begin(), kHiddenAtFirst.end()));
    for (const WatchColumnKind& kind : watchColumns()) {
        const int section = static_cast<int>(kind.column);
        auto* action = new QAction(kind.heading, header);
        action->setCheckable(true);
        action->setChecked(!hidden.contains(kind.heading));
        action->setEnabled(kind.column != WatchColumn::Name);
        header->setSectionHidden(section, !action->isChecked());
        connect(action, &QAction::toggled, this, [this, section](bool shown) {
            view_->horizontalHeader()->setSectionHidden(section, !shown);
            rememberHiddenColumns();
        });
        header->addAction(action);
    }
}

void WatchlistWindow::rememberHiddenColumns() {
    std::vector<WatchColumn> hidden;
    for (const WatchColumnKind& kind : watchColumns()) {
        if (view_->horizontalHeader()->isSectionHidden(static_cast<int>(kind.column))) {
            hidden.push_back(kind.column);
        }
    }
    rememberValue(kHiddenKey, headingsOf(hidden));
}

// Why the table shows no row; nothing when it shows some, or before a folder is chosen.
QString WatchlistWindow::emptyTableNote() const {
    if (table_->rowCount({}) > 0 || watchlist_.folder().empty()) {
        return {};
    }
    if (watchlist_.rowCount() == 0) {
        return tr("This folder holds no price file (*.csv, *.txt, *.tsv, *.prn or *.dat).");
    }
    if (busy()) {
        return tr("No confident prediction so far: the files are still being predicted.");
    }
    return tr(
        "No file in this folder has a confident prediction (54 % or more). Clear "
        "\"Confident predictions only\" to see every file.");
}

void WatchlistWindow::noteEmptyTable() {
    const QString note = emptyTableNote();
    emptyNote_->setText(note);
    emptyNote_->setVisible(!note.isEmpty());
}

QSize WatchlistWindow::firstSize() const {
    constexpr int kFirstHeight = 560;
    const QHeaderView* header = view_->horizontalHeader();
    int width = 2 * view_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int section = 0; section < header->count(); ++section) {
        width += header->isSectionHidden(section) ? 0 : header->sectionSize(section);
    }
    const QMargins margins = layout()->contentsMargins();
    return {width + margins.left() + margins.right(), kFirstHeight};
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
    folderLabel_->setToolTip(folderLabel_->text());
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
    // The header's menu holds a column's action at the column's place.
    view_->horizontalHeader()
        ->actions()
        .at(static_cast<int>(WatchColumn::Updated))
        ->setChecked(true);
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
