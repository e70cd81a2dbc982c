#include <QApplication>
#include <QScreen>
#include <clocale>

#include "app/aurelant.h"
#include "mainwindow.h"
#include "qtplatform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt takes the desktop's locale; the C library must keep writing numbers with a point, as
    // history files and the screen have them.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("aurelant");

    aurelant::Globals globals;
    aurelant::QtPlatform platform;
    platform.setViewerAddress(globals.vieweraddress);
    aurelant::Aurelant model(globals, platform);
    model.load();  // the welcome message comes before the window

    aurelant::MainWindow window(model);
    platform.setParentWidget(&window);
    platform.setRedraw([&window] { window.refresh(); });
    platform.setChartOpener([&window] { window.showChart(); });
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
