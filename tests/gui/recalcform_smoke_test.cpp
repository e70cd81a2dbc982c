// The re-prediction dialog, offscreen: its controls at their places, presses that carry the
// typed prices and the chosen option, and the close box that acts as Cancel.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/aurelant.h"
#include "qtapplication.h"
#include "recalcformdialog.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

class RecalcFormSmoke : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    RecalcFormSmoke() : window(globals, platform), form(window) {
        globals.crlf = "\r\n";
        globals.nextopen = 100;
        globals.rangevolatility = 0.02f;
        globals.upfraction = 0.5;
        form.show();
    }

    template <typename Widget>
    static Widget* child(QWidget& dialog, const char* name) {
        return dialog.findChild<Widget*>(name);
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
    RecalcForm form;
};

// In the layout's proportions, stretched as far as the font needs for the options to fit.
TEST_F(RecalcFormSmoke, DrawsEveryControlAtItsPlace) {
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

TEST_F(RecalcFormSmoke, PressesCarryTheEntriesAndTheCloseBoxCancels) {
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

}  // namespace
}  // namespace aurelant
