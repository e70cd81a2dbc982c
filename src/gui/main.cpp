#include <QApplication>
#include <clocale>
#include <cstdio>
#include <string_view>

#include "app/aurelant.h"
#include "cli/predictcommand.h"
#include "cli/updatecommand.h"
#include "commandline.h"
#include "mainwindow.h"
#include "qtplatform.h"

namespace {

QStringList rawArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Answers --help and --version; returns false when the program should start.
bool answeredAtOnce(const aurelant::CommandLine& line) {
    if (line.action == aurelant::CommandLine::Action::Help) {
        std::fputs(qPrintable(aurelant::usageText()), stdout);
        return true;
    }
    if (line.action == aurelant::CommandLine::Action::Version) {
        std::printf("aurelant %s\n", AURELANT_VERSION);
        return true;
    }
    return false;
}

// With AURELANT_UNATTENDED set (CI, screenshots), the start-up ends after the file argument:
// the window's title and the first lines of its screen go to standard output.
int reportUnattended(const aurelant::MainWindow& window, const aurelant::Aurelant& model) {
    QApplication::processEvents();
    std::printf("%s\n", qPrintable(window.windowTitle()));
    const QStringList lines = QString::fromStdString(model.maintext.text).split("\r\n");
    std::printf("%s\n", qPrintable(lines.mid(0, 2).join('\n')));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The sub-commands run without a display: no Qt platform is started for them.
    if (argc > 1 && std::string_view(argv[1]) == "predict") {
        return aurelant::runPredictCommand({argv + 2, argv + argc}, stdout, stderr);
    }
    if (argc > 1 && std::string_view(argv[1]) == "update") {
        return aurelant::runUpdateCommand({argv + 2, argv + argc}, stdout, stderr);
    }
    // Help and the version need no display, so they are answered before Qt looks for one.
    if (answeredAtOnce(aurelant::parseCommandLine(rawArguments(argc, argv)))) {
        return 0;
    }
    QApplication application(argc, argv);  // takes Qt's own options off the command line
    // Qt takes the desktop's locale; the C library must keep writing numbers with a point, as
    // history files and the screen have them.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("aurelant");
    // Lets the desktop match the window to its menu entry and icon (Wayland's app id).
    QGuiApplication::setDesktopFileName("org.aurelant.Aurelant");

    const aurelant::CommandLine line = aurelant::parseCommandLine(QApplication::arguments());
    if (line.action == aurelant::CommandLine::Action::Mistake) {
        std::fprintf(stderr, "aurelant: %s\n%s", qPrintable(line.mistake),
                     qPrintable(aurelant::usageText()));
        return 2;
    }

    aurelant::Globals globals;
    aurelant::QtPlatform platform;
    platform.setViewerAddress(globals.vieweraddress);
    const bool unattended = qEnvironmentVariableIsSet("AURELANT_UNATTENDED");
    platform.setUnattended(unattended);
    aurelant::Aurelant model(globals, platform);
    aurelant::MainWindow window(model);
    window.connectPlatform(platform);
    window.start(line.file);
    if (unattended) {
        return reportUnattended(window, model);
    }
    return QApplication::exec();
}
