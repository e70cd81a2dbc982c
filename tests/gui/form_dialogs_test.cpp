// The dialogs of the modal forms, offscreen: each draws its model's controls, presses carry what
// the user typed or chose, and the close box acts as Cancel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/aurelant.h"
#include "dailydatadialog.h"
#include "importformdialog.h"
#include "qtapplication.h"
#include "recalcformdialog.h"
#include "saveasformdialog.h"
#include "scenario/scripted_platform.h"
#include "unit/tempfolder.h"
#include "updateformdialog.h"

namespace aurelant {
namespace {

class FormDialogs : public TempFolderTest {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    FormDialogs() : window(globals, platform) {}

    template <typename Widget>
    static Widget* child(QWidget& dialog, const std::string& name) {
        return dialog.findChild<Widget*>(QString::fromStdString(name));
    }

    // The dialog has the title and draws every control of the form with its text and, for a
    // button, whether it is enabled.
    static void expectDrawn(const FormModel& form, QWidget& dialog, const std::string& title) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), title);
        for (const ControlState& control : form.controls()) {
            auto* widget = child<QWidget>(dialog, control.name);
            ASSERT_NE(widget, nullptr) << control.name;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                text = label->text();
            } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
                text = box->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                text = button->text();
                EXPECT_EQ(button->isEnabled(), control.enabled) << control.name;
            } else {
                ADD_FAILURE() << control.name << " is not drawn as a label, box or button";
            }
            EXPECT_EQ(text.toStdString(), control.text) << control.name;
        }
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
};

// The five-day panel in movement mode, on a file of two records.
class DailyDataDialogTest : public FormDialogs {
  protected:
    DailyDataDialogTest() : panel(window) {
        globals.fileopen = true;
        globals.currentfile = write("prices.csv", "02-Jan-2026,1,2,3,4\r\n05-Jan-2026,5,6,7,8\r\n");
        globals.movementmode = true;
        panel.load();
        panel.show();
    }

    DailyData panel;
};

TEST_F(DailyDataDialogTest, DrawsEveryControlOfTheModel) {
    DailyDataDialog dialog(panel, nullptr);
    expectDrawn(panel, dialog, "Add Five-Day Price History");
    EXPECT_EQ(child<QLineEdit>(dialog, "date4text")->text().toStdString(), "05-Jan-2026");
}

TEST_F(DailyDataDialogTest, TheCloseBoxLeavesTheModesAndPressesCarryTheTypedTexts) {
    {
        DailyDataDialog dialog(panel, nullptr);
        dialog.reject();
        EXPECT_FALSE(panel.visible());
        EXPECT_TRUE(globals.movementmode);
    }
    panel.show();
    DailyDataDialog dialog(panel, nullptr);
    child<QLineEdit>(dialog, "day5opentext")->setText("9.5");
    child<QPushButton>(dialog, "predictcommand")->click();
    EXPECT_EQ(globals.nextopen, 9.5);
    EXPECT_FALSE(panel.visible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// The re-prediction after an Open of 100 with a volatility unit of 0.02.
class RecalcFormDialogTest : public FormDialogs {
  protected:
    RecalcFormDialogTest() : form(window) {
        globals.crlf = "\r\n";
        globals.nextopen = 100;
        globals.rangevolatility = 0.02f;
        globals.upfraction = 0.5;
        form.show();
    }

    RecalcForm form;
};

// In the layout's proportions, stretched as far as the font needs for the options to fit.
TEST_F(RecalcFormDialogTest, DrawsEveryControlAtItsPlace) {
    RecalcFormDialog dialog(form, nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Re-Predict");
    const double pixelsPerTwip = dialog.width() / double(RecalcForm::kWidth);
    EXPECT_GE(pixelsPerTwip, 1 / 15.0);
    EXPECT_NEAR(dialog.height(), RecalcForm::kHeight * pixelsPerTwip, 1);
    for (const RecalcForm::Control& control : RecalcForm::layout()) {
        auto* widget = dialog.findChild<QWidget*>(QString::fromStdString(control.name));
        ASSERT_NE(widget, nullptr) << control.name;
        const QRect place = widget->geometry();
        EXPECT_NEAR(place.x(), control.left * pixelsPerTwip, 1) << control.name;
        EXPECT_NEAR(place.y(), control.top * pixelsPerTwip, 1) << control.name;
        EXPECT_NEAR(place.width(), control.width * pixelsPerTwip, 1) << control.name;
        EXPECT_NEAR(place.height(), control.height * pixelsPerTwip, 1) << control.name;
        if (control.kind == RecalcForm::Kind::Option) {
            EXPECT_LE(widget->sizeHint().width(), place.width()) << control.name;
        }
    }
    EXPECT_EQ(child<QLabel>(dialog, "recalclabel")->text().toStdString(),
              "Re-calcualte Probabilities Given\nNew Price(s)");
    EXPECT_TRUE(child<QLabel>(dialog, "notelabel")
                    ->text()
                    .endsWith("exists.\nWhen entering only the first price, select one of the "
                              "Option buttons below."));
    EXPECT_TRUE(child<QRadioButton>(dialog, "noneoption")->isChecked());
    EXPECT_TRUE(child<QPushButton>(dialog, "recalccommand")->isDefault());
}

TEST_F(RecalcFormDialogTest, PressesCarryTheEntriesAndTheCloseBoxCancels) {
    RecalcFormDialog dialog(form, nullptr);
    child<QLineEdit>(dialog, "newpricetext")->setText("100.5");
    child<QRadioButton>(dialog, "lowoption")->setChecked(true);
    platform.answers = {Answer::No, Answer::No};
    child<QPushButton>(dialog, "recalccommand")->click();
    ASSERT_FALSE(platform.transcript.empty());
    EXPECT_NE(platform.transcript.front().find("go to 101.39"), std::string::npos);
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(child<QLineEdit>(dialog, "newpricetext")->text(), "100.5");
    EXPECT_TRUE(child<QRadioButton>(dialog, "lowoption")->isChecked());

    child<QLineEdit>(dialog, "newpricetext")->setText("101");
    child<QLineEdit>(dialog, "secondtext")->setText("99");
    platform.answers = {Answer::No, Answer::No};
    child<QPushButton>(dialog, "recalccommand")->click();
    EXPECT_EQ(globals.upfraction, 0.25);
    dialog.reject();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(globals.upfraction, 0.25);
}

TEST_F(FormDialogs, SaveAsDialogDrawsTheModeAndItsCloseBoxKeepsTheChoice) {
    globals.savechoice = "html";
    SaveAsForm form(globals);
    form.load();
    form.show();
    SaveAsFormDialog dialog(form, nullptr);
    expectDrawn(form, dialog, "Save Prediction As");
    dialog.reject();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(globals.savechoice, "html");
}

// Clicks and keys: the key box opens for the provider that needs one, a symbol with a blank keeps
// the dialog open with the reason, a good one ends it with the source chosen.
TEST_F(FormDialogs, UpdateDialogTakesTheProviderSymbolAndKeyTyped) {
    quotes::UpdateForm form(std::nullopt, false);
    form.show();
    UpdateFormDialog dialog(form, nullptr);
    dialog.show();  // Return presses the default button of a dialog that is shown
    expectDrawn(form, dialog, "Update from the Web");
    auto* key = child<QLineEdit>(dialog, "keytext");
    EXPECT_FALSE(key->isEnabled());
    // On its round mark: the button is wider than its text.
    auto* alphaVantage = child<QRadioButton>(dialog, "alphavantageoption");
    QTest::mouseClick(alphaVantage, Qt::LeftButton, {}, QPoint(6, alphaVantage->height() / 2));
    EXPECT_TRUE(key->isEnabled());
    EXPECT_EQ(key->echoMode(), QLineEdit::Password);
    QTest::keyClicks(child<QLineEdit>(dialog, "symboltext"), "I BM");  // a blank too many
    QTest::keyClicks(key, "demo");
    QTest::mouseClick(child<QPushButton>(dialog, "updatecommand"), Qt::LeftButton);
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(child<QLabel>(dialog, "notelabel")->text().startsWith("Please correct the symbol"));
    auto* symbol = child<QLineEdit>(dialog, "symboltext");
    symbol->setCursorPosition(2);
    QTest::keyClick(symbol, Qt::Key_Backspace);
    QTest::keyClick(symbol, Qt::Key_Return);
    EXPECT_FALSE(form.visible());
    ASSERT_TRUE(form.chosen());
    EXPECT_EQ(form.chosen()->text(), "alphavantage:IBM");
    EXPECT_EQ(form.typedKey(), "demo");
}

// The preview of a file that leaves the day order, the decimal mark, and Open and Close to the
// user: clicks and keys on the options read the file again, and the preview and its notes follow.
TEST_F(FormDialogs, ImportPreviewFollowsTheChoicesLeftToTheUser) {
    std::string text;
    for (const char* date :
         {"01/02/2024", "02/02/2024", "05/02/2024", "06/02/2024", "07/02/2024"}) {
        text += std::string(date) + ",10.500,11.000,10.250,10.750\r\n";
    }
    import::ImportForm form(text, false);
    form.load();
    form.show();
    ImportFormDialog dialog(form, nullptr);
    dialog.show();
    auto* preview = child<QPlainTextEdit>(dialog, import::ImportForm::kPreview);
    auto* evidence = child<QLabel>(dialog, import::ImportForm::kEvidence);
    auto firstLine = [&] { return preview->toPlainText().section('\n', 0, 0).toStdString(); };
    auto click = [&](const char* name) {
        auto* option = child<QRadioButton>(dialog, name);
        EXPECT_TRUE(option->isVisible() && option->isEnabled()) << name;
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        EXPECT_TRUE(option->isChecked()) << name;
    };
    EXPECT_EQ(firstLine(), "2024-01-02,10.500,11.000,10.250,10.750");
    EXPECT_TRUE(evidence->text().contains("so this is a guess"));
    EXPECT_FALSE(child<QRadioButton>(dialog, import::ImportForm::kPriceChoices[2])->isVisible());

    click(import::ImportForm::kDayFirst);
    EXPECT_EQ(firstLine(), "2024-02-01,10.500,11.000,10.250,10.750");
    EXPECT_FALSE(evidence->text().contains("Saturday or Sunday"));
    click(import::ImportForm::kDecimalComma);
    EXPECT_EQ(firstLine(), "2024-02-01,10500,11000,10250,10750");
    EXPECT_TRUE(evidence->text().contains("Decimal mark: comma (as chosen"));
    EXPECT_TRUE(child<QRadioButton>(dialog, import::ImportForm::kDayFirst)->isChecked());
    click(import::ImportForm::kPriceChoices[1]);
    EXPECT_EQ(firstLine(), "2024-02-01,10750,11000,10250,10500");
    auto* monthFirst = child<QRadioButton>(dialog, import::ImportForm::kMonthFirst);
    monthFirst->setFocus();
    QTest::keyClick(monthFirst, Qt::Key_Space);
    EXPECT_EQ(firstLine(), "2024-01-02,10750,11000,10250,10500");
    EXPECT_TRUE(evidence->text().contains("1 date falls on a Saturday or Sunday"));
    EXPECT_TRUE(child<QRadioButton>(dialog, import::ImportForm::kDecimalComma)->isChecked());

    QTest::mouseClick(child<QPushButton>(dialog, import::ImportForm::kOk), Qt::LeftButton);
    EXPECT_TRUE(form.accepted());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(form.recognition().days.front().line, "2024-01-02,10750,11000,10250,10500");
}

}  // namespace
}  // namespace aurelant
