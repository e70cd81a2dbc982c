// Makes the screenshots of the README and the metainfo: the real windows, offscreen, on a copy
// of the sample history file. A window that the program does not have yet is skipped with a
// note, so the tool can be run again as windows are added.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/aurelant.h"
#include "fiveday/dailydata.h"
#include "mainwindow.h"
#include "qtplatform.h"

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

// The price chart beside the main window, after the prediction of movement.
void shootChart(aurelant::MainWindow& window, Shooter& shooter) {
    window.runCommand("chart");
    auto* chart = window.findChild<QWidget*>("chart");
    if (chart != nullptr) {
        chart->resize(960, 600);
        shooter.save(*chart, "price-chart");
    }
    shooter.skipUnless(chart != nullptr, "price-chart");
}

// The import's preview, on a file in the layout of a German quote service.
void shootImport(aurelant::MainWindow& window, ModalDriver& driver, Shooter& shooter,
                 const QString& source) {
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write(
        "Datum;Er\xC3\xB6"
        "ffnung;Hoch;Tief;Schlusskurs;Volumen\r\n");
    for (int day = 1; day <= 29; ++day) {
        const int cents = 2350 + (day * 37) % 90;
        file.write(QString("%1.02.2024;%2,%3;%4,%5;%6,%7;%8,%9;1.%10\r\n")
                       .arg(day, 2, 10, QChar('0'))
                       .arg(cents / 100)
                       .arg(cents % 100, 2, 10, QChar('0'))
                       .arg((cents + 40) / 100)
                       .arg((cents + 40) % 100, 2, 10, QChar('0'))
                       .arg((cents - 35) / 100)
                       .arg((cents - 35) % 100, 2, 10, QChar('0'))
                       .arg((cents + 12) / 100)
                       .arg((cents + 12) % 100, 2, 10, QChar('0'))
                       .arg(200 + day * 13)
                       .toUtf8());
    }
    file.close();
    bool seen = false;
    driver.onModal = [&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->selectFile(source);
            QMetaObject::invokeMethod(files, "accept");
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
    aurelant::Aurelant model(globals, platform);
    model.load();
    aurelant::MainWindow window(model);
    platform.setParentWidget(&window);
    platform.setViewerAddress(globals.vieweraddress);
    platform.setRedraw([&window] { window.refresh(); });
    platform.setChartOpener([&window] { window.showChart(); });
    window.showAtRememberedPlace();
    window.openFile(sample);

    predictMovement(window, driver, shooter);
    shootChart(window, shooter);
    shooter.shootDialog(window, driver, "recalc", "recalcform", "re-prediction-dialog");
    shooter.shootDialog(window, driver, "saveimage", "saveasform", "save-as-dialog");
    shootImport(window, driver, shooter, work.filePath("boerse.csv"));
    // The prediction saved as HTML; the save's question offers the viewer, which shows the page.
    driver.onModal = [&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->selectFile(work.filePath("prediction.htm"));
            QMetaObject::invokeMethod(files, "accept");
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
        viewer->resize(760, 520);
        QEventLoop rendering;  // the page renders
        QTimer::singleShot(1000, &rendering, &QEventLoop::quit);
        rendering.exec();
        shooter.save(*viewer, "viewer");
    }
    shooter.skipUnless(viewer != nullptr, "viewer");
    return shooter.failed() ? 1 : 0;
}
