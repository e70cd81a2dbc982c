// Makes the screenshots of the README and the metainfo: the real windows, offscreen, on a copy
// of the sample history file. A window that the program does not have yet is skipped with a
// note, so the tool can be run again as windows are added.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "app/aurelant.h"
#include "fiveday/dailydata.h"
#include "mainwindow.h"
#include "qtplatform.h"
#include "watchlistwindow.h"

namespace {

// Every modal window that opens is handed to `onModal`; message boxes take their default button.
class ModalDriver {
  public:
    std::function<void(QDialog&)> onModal;

    ModalDriver() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { serve(); });
        timer_.start(50);
    }

  private:
    void serve() {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal == nullptr) {
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->defaultButton() != nullptr ? box->defaultButton()->click() : box->reject();
        } else if (onModal) {
            onModal(*modal);
        } else {
            modal->reject();
        }
    }

    QTimer timer_;
};

// Answers a file dialog with `path`. The dialog types a selected name into its name box only
// while the box has no focus.
void choose(QFileDialog& files, const QString& path) {
    if (QWidget* focus = files.focusWidget()) {
        focus->clearFocus();
    }
    files.selectFile(path);
    QMetaObject::invokeMethod(&files, "accept");
}

class Shooter {
  public:
    explicit Shooter(const QString& folder) : folder_(folder) {}

    void save(QWidget& widget, const QString& name) {
        QApplication::processEvents();
        const QString path = folder_.filePath(name + ".png");
        if (!widget.grab().save(path)) {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(path));
            failed_ = true;
            return;
        }
        std::printf("Wrote %s\n", qPrintable(path));
    }

    // Runs a command of the main window and shoots the modal window named `form` that it opens.
    void shootDialog(aurelant::MainWindow& window, ModalDriver& driver, const std::string& command,
                     const QString& form, const QString& name) {
        bool seen = false;
        driver.onModal = [&](QDialog& dialog) {
            if (dialog.objectName() == form) {
                save(dialog, name);
                seen = true;
            }
            dialog.reject();
        };
        window.runCommand(command);
        driver.onModal = nullptr;
        skipUnless(seen, name);
    }

    void skipUnless(bool seen, const QString& name) {
        if (!seen) {
            std::printf("Skipped %s: the program does not have this window yet\n",
                        qPrintable(name));
        }
    }

    bool failed() const { return failed_; }

  private:
    QDir folder_;
    bool failed_ = false;
};

// The five-day panel of Predict Direction and Movement: the morning's Open is typed as the last
// Close, then the panel is shot and its Predict pressed.
void predictMovement(aurelant::MainWindow& window, ModalDriver& driver, Shooter& shooter) {
    using aurelant::DailyData;
    driver.onModal = [&](QDialog& dialog) {
        auto box = [&](int day, int field) {
            return dialog.findChild<QLineEdit*>(
                QString::fromStdString(DailyData::boxName(day, field)));
        };
        box(DailyData::kDays, 1)->setText(box(DailyData::kDays - 1, 4)->text());
        shooter.save(dialog, "five-day-panel");
        dialog.findChild<QPushButton*>("predictcommand")->click();
    };
    window.runCommand("predictmove");
    driver.onModal = nullptr;
    shooter.save(window, "main-window");
}

// A window that `command` opens beside the main window (the price chart after the prediction of
// movement, how reliable that prediction is), at `size`.
void shootSideWindow(aurelant::MainWindow& window, Shooter& shooter, const std::string& command,
                     const char* objectName, QSize size, const QString& name) {
    window.runCommand(command);
    auto* side = window.findChild<QWidget*>(objectName);
    if (side != nullptr) {
        side->resize(size);
        shooter.save(*side, name);
    }
    shooter.skipUnless(side != nullptr, name);
}

// The import's preview, on a file in the layout of a German quote service whose headings do not
// say which of two prices is Open and which Close, with a change column the import leaves out.
void shootImport(aurelant::MainWindow& window, ModalDriver& driver, Shooter& shooter,
                 const QString& source) {
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write("Datum;Wert A;Hoch;Tief;Wert B;Ver\xC3\xA4nderung %;Volumen\r\n");
    auto price = [](int cents) {
        return QString("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QChar('0'));
    };
    for (int day = 1; day <= 29; ++day) {
        const int cents = 2350 + (day * 37) % 90;
        const int change = (day * 53) % 200 - 100;
        file.write(QString("%1.02.2024;%2;%3;%4;%5;%6%7,%8%;1.%9\r\n")
                       .arg(day, 2, 10, QChar('0'))
                       .arg(price(cents), price(cents + 40), price(cents - 35), price(cents + 12))
                       .arg(change < 0 ? "-" : "+")
                       .arg(std::abs(change) / 100)
                       .arg(std::abs(change) % 100, 2, 10, QChar('0'))
                       .arg(200 + day * 13)
                       .toUtf8());
    }
    file.close();
    bool seen = false;
    driver.onModal = [&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            choose(*files, source);
            return;
        }
        if (dialog.objectName() == "importform") {
            shooter.save(dialog, "import");
            seen = true;
        }
        dialog.reject();
    };
    window.runCommand("importfile");
    driver.onModal = nullptr;
    shooter.skipUnless(seen, "import");
}

// Lets events run until `done`, for `milliseconds` at most.
void waitUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// A folder of made-up instruments: each has the prices of another stretch of the sample, scaled,
// under the sample's latest dates; beside them a note that is not price data. Returns the last
// Close of each file by name.
std::map<QString, double> writeInstruments(const QString& sample, const QDir& folder) {
    QFile file(sample);
    file.open(QIODevice::ReadOnly);
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    constexpr qsizetype kRecords = 1500;
    const struct {
        const char* name;
        double scale;
        qsizetype start;
    } instruments[] = {{"wheat.csv", 13.1, 1},     {"copper.csv", 0.21, 180},
                       {"eurusd.csv", 0.026, 420}, {"gold.csv", 47.3, 610},
                       {"bund.txt", 3.02, 777},    {"cocoa.csv", 95.0, 905},
                       {"crude.csv", 1.83, 1040}};
    std::map<QString, double> lastCloses;
    for (const auto& instrument : instruments) {
        QFile out(folder.filePath(instrument.name));
        out.open(QIODevice::WriteOnly);
        out.write("Date,Open,High,Low,Close\r\n");
        const int decimals = instrument.scale < 1 ? 4 : 2;
        for (qsizetype i = 0; i < kRecords; ++i) {
            const QStringList prices = lines[instrument.start + i].split(',');
            QStringList record{lines[lines.size() - kRecords + i].section(',', 0, 0)};
            for (qsizetype field = 1; field <= 4; ++field) {
                record << QString::number(prices[field].toDouble() * instrument.scale, 'f',
                                          decimals);
            }
            out.write((record.join(',') + "\r\n").toUtf8());
            lastCloses[instrument.name] = record[4].toDouble();
        }
    }
    QFile note(folder.filePath("notes.txt"));
    note.open(QIODevice::WriteOnly);
    note.write("Ask about the cocoa contract's roll dates.\n");
    return lastCloses;
}

// The watchlist of those instruments, the likeliest first, with the top one's Open typed as its
// last Close so that its levels show.
void shootWatchlist(aurelant::MainWindow& window, Shooter& shooter, const QString& sample,
                    const QDir& folder) {
    const std::map<QString, double> lastCloses = writeInstruments(sample, folder);
    window.runCommand("watchlist");  // the folder dialog is answered by the driver's Cancel
    auto* watchlist = window.findChild<aurelant::WatchlistWindow*>();
    if (watchlist == nullptr) {
        shooter.skipUnless(false, "watchlist");
        return;
    }
    watchlist->loadFolder(folder.path());
    waitUntil([watchlist] { return !watchlist->busy(); });
    auto* view = watchlist->findChild<QTableView*>();
    QAbstractItemModel& table = *view->model();
    const double close = lastCloses.at(table.index(0, 0).data().toString());
    table.setData(table.index(0, static_cast<int>(aurelant::WatchColumn::Open)),
                  QString::number(close));
    waitUntil([watchlist] { return !watchlist->busy(); });
    waitUntil([] { return false; }, 300);  // the table's gathered redraw
    view->resizeColumnsToContents();
    watchlist->resize(1280, 250);
    shooter.save(*watchlist, "watchlist");
    watchlist->close();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc != 3) {
        std::fputs("usage: aurelant-screenshots SAMPLE.csv FOLDER\n", stderr);
        return 2;
    }
    QTemporaryDir work;  // settings and the sample's copy, away from the user's
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
    const QString sample = work.filePath("sample-prices.csv");
    QFile::copy(QString::fromLocal8Bit(argv[1]), sample);
    QTimer::singleShot(120000, [] {
        std::fputs("A window did not close: giving up\n", stderr);
        std::exit(1);
    });

    ModalDriver driver;
    Shooter shooter(QString::fromLocal8Bit(argv[2]));
    aurelant::Globals globals;
    aurelant::QtPlatform platform;
    platform.setViewerAddress(globals.vieweraddress);
    aurelant::Aurelant model(globals, platform);
    aurelant::MainWindow window(model);
    window.connectPlatform(platform);
    window.start(sample);

    predictMovement(window, driver, shooter);
    shootSideWindow(window, shooter, "chart", "chart", {960, 600}, "price-chart");
    shootSideWindow(window, shooter, "reliable", "reliability", {980, 760}, "reliability");
    shooter.shootDialog(window, driver, "recalc", "recalcform", "re-prediction-dialog");
    shooter.shootDialog(window, driver, "saveimage", "saveasform", "save-as-dialog");
    shootImport(window, driver, shooter, work.filePath("boerse.csv"));
    QDir(work.path()).mkdir("prices");
    shootWatchlist(window, shooter, sample, QDir(work.filePath("prices")));
    // The prediction saved as HTML; the save's question offers the viewer, which shows the page.
    driver.onModal = [&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            choose(*files, work.filePath("prediction.htm"));
        }
    };
    window.runCommand("htmlsave");
    driver.onModal = nullptr;
    QWidget* viewer = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "webholder" && top->isVisible()) {
            viewer = top;
        }
    }
    if (viewer != nullptr) {
        waitUntil([] { return false; }, 1000);  // the page renders
        shooter.save(*viewer, "viewer");
    }
    shooter.skipUnless(viewer != nullptr, "viewer");
    return shooter.failed() ? 1 : 0;
}
