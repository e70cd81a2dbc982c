#pragma once

#include <string>
#include <string_view>

#include "app/globals.h"
#include "platform/platform.h"
#include "predict/runresults.h"

namespace aurelant {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct TextStyle {
    int pointSize = 8;
    bool bold = false;
    bool italic = false;
    Rgb colour;
    bool operator==(const TextStyle&) const = default;
};

// The main screen: its text (lines joined by CR LF), style and selection.
struct MainScreen {
    std::string text;
    TextStyle style;
    std::size_t selectionStart = 0;  // offsets into text; CR LF counts as two
    std::size_t selectionLength = 0;

    void setText(std::string newText);
    void append(std::string_view piece);
};

struct InfoLabel {
    std::string caption;
    TextStyle style;
};

// The model of the main window: the state of its controls and the commands of its menus and
// toolbar pictures. The Qt window draws it and forwards its events here.
class Aurelant {
  public:
    Aurelant(Globals& globals, Platform& platform);

    Globals& globals;
    Platform& platform;

    std::string caption;
    InfoLabel infolabel;
    MainScreen maintext;
    bool recalcEnabled = false;
    bool strategyEnabled = true;
    bool exitRequested = false;
    // What the last prediction run found, for the price chart.
    RunResults runresults;

    // Start-up: runs once, before the window is first shown.
    void load();

    // Clicks a menu item or toolbar picture by its name; false for an unknown name.
    bool click(const std::string& name);

    // Commands shared with other commands.
    void cls();
    void newFile();
    void showMessage(const std::string& text);  // OK button, the program's title
    // A question with Yes and No, Yes the default; true for Yes.
    bool askYesNo(const std::string& question, const std::string& caption);
    // After a failure on the open file: no file is open any more, the screen is idle and the
    // five-day panel's modes are cleared.
    void dropFileAfterError(const std::string& newCaption);

    // Menu items.
    void new_click() { newFile(); }
    void open_click();
    void screensave_click();
    void textsave_click();
    void htmlsave_click();
    void csvsave_click();
    void print_click();
    void close_click() { newFile(); }
    void Exit_click() { exitRequested = true; }
    void screencopy_click();
    void screencut_click();
    void screenpaste_click();
    void AddData_click();
    void addlatest_click();
    void cls_click() { cls(); }
    void predictchange_click() { PredictImage_click(); }
    void predictmove_click();
    void recalc_click();
    void chart_click() { platform.showChart(); }
    // The price chart is offered while a file is open.
    bool chartEnabled() const { return globals.fileopen; }
    void web_click() { tphomeimage_click(); }
    void reverse_click();
    void fixup_click();
    void redisplay_click();
    void displayhtml_click();
    void strategy_click();
    void about_click() { HelpImage_click(); }

    // Toolbar pictures.
    void OpenImage_click() { open_click(); }
    void saveimage_click();
    void closeimage_click() { newFile(); }
    void EditingImage_click();
    void EditAddImage_click() { addlatest_click(); }
    void clsimage_click() { cls(); }
    void PredictImage_click();
    void predictpricesimage_click() { predictmove_click(); }
    void repredimage_click();
    void tphomeimage_click();
    void reverseimage_click() { reverse_click(); }
    void fiximage_click() { fixup_click(); }
    void viewhtmimg_click() { displayhtml_click(); }
    void strategyimage_click();
    void printimage_click() { print_click(); }
    void HelpImage_click();
};

// The caption of message boxes that have no caption of their own.
inline constexpr const char* kProgramShortTitle = "Aurelant";

// The label's caption when it has nothing particular to say.
inline constexpr const char* kInformationPanel = "Information Panel";

}  // namespace aurelant
