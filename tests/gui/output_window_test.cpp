// The windows of saving and printing, offscreen: the save-as dialog draws its model and its
// close box keeps the choice; printing without a printer goes into the PDF file the user names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/globals.h"
#include "qtapplication.h"
#include "qtplatform.h"
#include "saveasformdialog.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

class OutputWindows : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    OutputWindows() {
        folder = fs::temp_directory_path() / ("aurelant-output-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~OutputWindows() override { fs::remove_all(folder); }

    Globals globals;
    fs::path folder;
};

TEST_F(OutputWindows, SaveAsDialogDrawsTheModeAndItsCloseBoxKeepsTheChoice) {
    globals.savechoice = "html";
    SaveAsForm form(globals);
    form.load();
    form.show();
    SaveAsFormDialog dialog(form, nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Save Prediction As");
    for (const ControlState& control : form.controls()) {
        auto* widget = dialog.findChild<QAbstractButton*>(QString::fromStdString(control.name));
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->text().toStdString(), control.text);
        EXPECT_EQ(widget->isEnabled(), control.enabled) << control.name;
    }
    dialog.reject();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(globals.savechoice, "html");
}

TEST_F(OutputWindows, QtPlatformShowsTheSaveAsDialogAndProceedsWithTheChosenOption) {
    SaveAsForm form(globals);
    form.load();
    QtPlatform qt;
    QTimer::singleShot(0, [] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        shown->findChild<QRadioButton*>("csvoption")->setChecked(true);
        shown->findChild<QPushButton*>("proceedcommand")->click();
    });
    qt.showModal(form);
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(globals.savechoice, "csv");
}

// A platform whose file dialog names the PDF file, as a user without a printer would.
class PdfPlatform : public QtPlatform {
  public:
    explicit PdfPlatform(std::optional<std::string> answer) : answer_(std::move(answer)) {}
    std::optional<std::string> askFile(const FileRequest& /*request*/) override { return answer_; }

  private:
    std::optional<std::string> answer_;
};

std::string pdfText(const fs::path& pdf) {
    const std::string command = "pdftotext -layout '" + pdf.string() + "' -";
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

    EXPECT_EQ(PdfPlatform(std::nullopt).print(job).kind, PrintOutcome::Kind::Cancelled);
    const PrintOutcome failed = PdfPlatform((folder / "gone" / "x.pdf").string()).print(job);
    EXPECT_EQ(failed.kind, PrintOutcome::Kind::Failed);
    EXPECT_FALSE(failed.failure.empty());
}

}  // namespace
}  // namespace aurelant
