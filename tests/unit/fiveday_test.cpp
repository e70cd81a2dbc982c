// What scenario scripts cannot set up: a file that vanishes between the panel's load and its
// Save, and a form closed by its close box without any button.
#include "app/aurelant.h"
#include "fiveday/dailydata.h"
#include "scenario/scripted_platform.h"
#include "unit/tempfolder.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

using FiveDayPanel = TempFolderTest;

// A folder in the file's place is refused by the append itself (textfile_test).
TEST_F(FiveDayPanel, SaveReportsAFileThatVanished) {
    const std::string path = write("prices.csv", "02-Jan-2026,1,2,3,4\r\n05-Jan-2026,5,6,7,8\r\n");
    Globals globals;
    ScriptedPlatform platform;
    Aurelant window(globals, platform);
    DailyData panel(window);
    globals.fileopen = true;
    globals.currentfile = path;
    globals.addlatestmode = true;
    window.caption = "prices.csv";
    panel.load();
    panel.show();
    fs::remove(path);
    panel.setText(DailyData::boxName(5, 0), "06-Jan-2026");
    for (int field = 1; field <= 4; ++field) {
        panel.setText(DailyData::boxName(5, field), "10");
    }
    panel.press("savecommand");
    EXPECT_EQ(
        platform.transcript,
        std::vector<std::string>{"message caption=\"Aurelant\" buttons=ok icon=none default=1 "
                                 "text=\"Error Number 2  Error is: No such file or directory: " +
                                 path + "\" -> ok"});
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(panel.visible());
    EXPECT_FALSE(globals.fileopen);
    EXPECT_EQ(window.caption, globals.programtitle);
}

// Closes every form as the window's close box does, without pressing a button.
class ClosingPlatform : public ScriptedPlatform {
  public:
    void showModal(FormModel& form) override { form.hide(); }
};

TEST(FiveDayView, OnlyTheMenuItemClearsTheOtherModes) {
    Globals globals;
    ClosingPlatform platform;
    Aurelant window(globals, platform);
    globals.movementmode = true;
    globals.addlatestmode = true;
    window.click("EditingImage");
    EXPECT_TRUE(globals.viewdatamode && globals.movementmode && globals.addlatestmode);
    window.click("AddData");
    EXPECT_FALSE(globals.movementmode || globals.addlatestmode);
}

}  // namespace
}  // namespace aurelant
