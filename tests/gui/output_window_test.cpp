// The windows of printing and viewing, offscreen: printing without a printer goes into the PDF
// file the user names; the viewer shows a saved prediction, its home page and a readable message
// for what it cannot show.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextBrowser>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/aurelant.h"
#include "qtapplication.h"
#include "qtplatform.h"
#include "saveasformdialog.h"
#include "unit/tempfolder.h"
#include "viewer/pagesource.h"
#include "viewerwindow.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

class OutputWindows : public TempFolderTest {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    Globals globals;
};

// A platform whose file dialog names the PDF file, as a user without a printer would.
class PdfPlatform : public QtPlatform {
  public:
    explicit PdfPlatform(std::optional<std::string> answer) : answer_(std::move(answer)) {}
    std::optional<std::string> askFile(const FileRequest& /*request*/) override { return answer_; }

  private:
    std::optional<std::string> answer_;
};

std::string pdfText(const fs::path& pdf, const std::string& tool = "pdftotext -layout") {
    const std::string command = tool + " '" + pdf.string() + "' -";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string text;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) {
        text += buffer;
    }
    return text;
}

TEST_F(OutputWindows, WithoutAPrinterPrintsIntoThePdfFileOrReportsWhyNot) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "this system has a printer";
    }
    const PrintJob job{8, {" ", "Prediction for the next day", "UP 57.14 %"}};
    const fs::path pdf = folder / "printout.pdf";
    EXPECT_EQ(PdfPlatform(pdf.string()).print(job).kind, PrintOutcome::Kind::Printed);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("Prediction for the next day"), std::string::npos) << text;
    EXPECT_NE(text.find("UP 57.14 %"), std::string::npos) << text;
    // Margins of 15 mm, 42.5 points, that no printer clips; the chart's page is landscape.
    EXPECT_NE(pdfText(pdf, "pdftotext -bbox").find("<word xMin=\"42."), std::string::npos);
    PrintJob chart = job;
    chart.landscape = true;
    PdfPlatform(pdf.string()).print(chart);
    EXPECT_NE(pdfText(pdf, "pdftotext -bbox").find("<page width=\"842"), std::string::npos);

    EXPECT_EQ(PdfPlatform(std::nullopt).print(job).kind, PrintOutcome::Kind::Cancelled);
    // The open price file named as the PDF is refused, as every save refuses it, and kept.
    globals.currentfile = write("prices.csv", "kept\n");
    PdfPlatform refusing(globals.currentfile);
    refusing.setUnattended(true);
    Aurelant model(globals, refusing);
    refusing.setOutputCheck(
        [&model](const std::string& path) { return model.refusesAsOutput(path); });
    EXPECT_EQ(refusing.print(job).kind, PrintOutcome::Kind::Cancelled);
    EXPECT_EQ(read(globals.currentfile), "kept\n");
    const PrintOutcome failed = PdfPlatform((folder / "gone" / "x.pdf").string()).print(job);
    EXPECT_EQ(failed.kind, PrintOutcome::Kind::Failed);
    EXPECT_FALSE(failed.failure.empty());
}

ViewerWindow* openViewer() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<ViewerWindow*>(widget); viewer && viewer->isVisible()) {
            return viewer;
        }
    }
    return nullptr;
}

std::string pageText(ViewerWindow& viewer) {
    return viewer.findChild<QTextBrowser*>("brwWebBrowser")->toPlainText().toStdString();
}

TEST_F(OutputWindows, TheViewerShowsASavedPredictionAndSaysWhatItCannotShow) {
    // The start of a saved prediction page.
    const std::string saved = (folder / "saved.htm").string();
    std::ofstream(saved) << "<html><head><title>AurelantsPrices Predictions</title></head><body>"
                            "The probability of an UPWARDS movement is 60%</body></html>";
    std::string vieweraddress = saved;
    QtPlatform qt;
    qt.setViewerAddress(vieweraddress);
    qt.showViewer();
    ViewerWindow* viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle().toStdString(), "Access Website - AurelantsPrices Predictions");
    EXPECT_NE(pageText(*viewer).find("The probability of an UPWARDS movement"), std::string::npos);

    std::ofstream(folder / "x.bin", std::ios::binary) << std::string("\0\1", 2);
    std::ofstream(folder / "huge.htm", std::ios::binary) << std::string(kLargestShownPage + 1, 'x');
    for (const std::string& unshown :
         {(folder / "gone.htm").string(), (folder / "huge.htm").string(),
          (folder / "x.bin").string()}) {
        vieweraddress = unshown;
        qt.showViewer();
        ASSERT_EQ(openViewer(), viewer);
        EXPECT_EQ(viewer->windowTitle().toStdString(), "Access Website - The page cannot be shown");
        EXPECT_NE(pageText(*viewer).find(unshown), std::string::npos) << pageText(*viewer);
    }
    vieweraddress = saved;
    qt.showViewer();
    const std::vector<std::string> recent{saved, (folder / "x.bin").string(),
                                          (folder / "huge.htm").string(),
                                          (folder / "gone.htm").string()};
    EXPECT_EQ(viewer->model().addressList, recent);
    EXPECT_EQ(viewer->findChild<QComboBox*>("cboAddress")->count(), 4);

    viewer->findChild<QAction*>("Home")->trigger();
    EXPECT_EQ(viewer->windowTitle().toStdString(), "Access Website - AurelantsPrices Home");
    viewer->findChild<QAction*>("Back")->trigger();
    EXPECT_EQ(viewer->model().addressText, saved);
    delete viewer;
}

TEST_F(OutputWindows, AnAddressThatCannotBeReachedLoadsInTheBackgroundAndSaysSo) {
    // A server that never answers keeps the page loading: what the user types meanwhile stays.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    std::string vieweraddress = "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/";
    QtPlatform qt;
    qt.setViewerAddress(vieweraddress);
    qt.showViewer();
    ViewerWindow* viewer = openViewer();
    ASSERT_NE(viewer, nullptr);
    auto* address = viewer->findChild<QComboBox*>("cboAddress");
    const QString unreachable = "http://127.0.0.1:9/prices.htm";
    address->setEditText(unreachable);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(viewer->windowTitle().toStdString(), "Access Website - Working...");
    EXPECT_EQ(address->currentText(), unreachable);
    viewer->findChild<QAction*>("Stop")->trigger();  // nothing has been reached yet
    EXPECT_EQ(viewer->windowTitle().toStdString(), "Access Website");
    address->setEditText(unreachable);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(address->lineEdit(), &enter);
    EXPECT_TRUE(viewer->model().timerEnabled);
    clock.restart();
    while (viewer->model().timerEnabled && clock.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(viewer->windowTitle().toStdString(), "Access Website - The page cannot be shown");
    EXPECT_NE(pageText(*viewer).find("cannot be reached"), std::string::npos);
    // A server that speaks no TLS, and a page the program does not have.
    QTcpServer plain;
    ASSERT_TRUE(plain.listen(QHostAddress::LocalHost));
    const std::string tls = "https://127.0.0.1:" + std::to_string(plain.serverPort()) + "/";
    QObject::connect(&plain, &QTcpServer::newConnection,
                     [&plain] { plain.nextPendingConnection()->write("HTTP/1.0 200 OK\r\n\r\n"); });
    for (const auto& [address, reason] : {std::pair{tls, "SSL handshake failed"},
                                          {"qrc:/viewer/gone.html", "not one of this program"}}) {
        viewer->showAddress(address);
        clock.restart();
        while (viewer->model().timerEnabled && clock.elapsed() < 20000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        EXPECT_NE(pageText(*viewer).find(reason), std::string::npos) << pageText(*viewer);
    }
    delete viewer;
}

}  // namespace
}  // namespace aurelant
