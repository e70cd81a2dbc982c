// The five-day panel's dialog, offscreen: it draws its model's controls and forwards presses.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/aurelant.h"
#include "dailydatadialog.h"
#include "qtapplication.h"
#include "scenario/scripted_platform.h"
#include "unit/tempfolder.h"

namespace aurelant {
namespace {

class DailyDataSmoke : public TempFolderTest {
  protected:
    static void SetUpTestSuite() { ensureQtApplication(); }

    DailyDataSmoke() : window(globals, platform), panel(window) {
        globals.fileopen = true;
        globals.currentfile = write("prices.csv", "02-Jan-2026,1,2,3,4\r\n05-Jan-2026,5,6,7,8\r\n");
        globals.movementmode = true;
        panel.load();
        panel.show();
    }
    template <typename Widget>
    static Widget* child(QWidget& dialog, const std::string& name) {
        return dialog.findChild<Widget*>(QString::fromStdString(name));
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window;
    DailyData panel;
};

TEST_F(DailyDataSmoke, DrawsEveryControlOfTheModel) {
    DailyDataDialog dialog(panel, nullptr);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Add Five-Day Price History");
    for (const ControlState& control : panel.controls()) {
        auto* widget = child<QWidget>(dialog, control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text().toStdString(), control.text);
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(box->text().toStdString(), control.text);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text().toStdString(), control.text);
            EXPECT_EQ(button->isEnabled(), control.enabled) << control.name;
        } else {
            ADD_FAILURE() << control.name << " is not drawn as a label, box or button";
        }
    }
    EXPECT_EQ(child<QLineEdit>(dialog, "date4text")->text().toStdString(), "05-Jan-2026");
}

TEST_F(DailyDataSmoke, TheCloseBoxLeavesTheModesAndPressesCarryTheTypedTexts) {
    {
        DailyDataDialog dialog(panel, nullptr);
        dialog.reject();
        EXPECT_FALSE(panel.visible());
        EXPECT_TRUE(globals.movementmode);
    }
    panel.show();
    DailyDataDialog dialog(panel, nullptr);
    child<QLineEdit>(dialog, "day5opentext")->setText("12.5");
    child<QPushButton>(dialog, "predictcommand")->click();
    EXPECT_EQ(globals.nextopen, 12.5);
    EXPECT_FALSE(panel.visible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace aurelant
