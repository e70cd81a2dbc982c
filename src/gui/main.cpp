#include <QApplication>
#include <QScreen>
#include <clocale>

#include "app/aurelant.h"
#include "mainwindow.h"
#include "qtplatform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt takes the desktop's locale; numbers in files and on screen always use a point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("aurelant");

    aurelant::Globals globals;
    aurelant::QtPlatform platform;
    aurelant::Aurelant model(globals, platform);
    model.load();  // the welcome message comes before the window

    aurelant::MainWindow window(model);
    platform.setParentWidget(&window);
    window.refresh();
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
