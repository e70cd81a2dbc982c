#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "state/globals.h"
#include "state/runresults.h"

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

// What the commands share and act on: the program-wide variables, the desktop, the main
// window's controls and what the last prediction run found. The menu dispatch above the
// commands (app/) adds the handlers of the menu items and toolbar pictures.
class AppState {
  public:
    AppState(Globals& globals, Platform& platform);

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

    // The price chart is offered while a file is open.
    bool chartEnabled() const { return globals.fileopen; }

    // Commands shared by other commands.
    void cls();
    void newFile();
    void showMessage(const std::string& text);  // OK button, the program's title
    // A question with Yes and No; true for Yes.
    enum class DefaultAnswer { Yes, No };
    bool askYesNo(const std::string& question, const std::string& caption,
                  DefaultAnswer defaultAnswer = DefaultAnswer::Yes);
    // The file a save writes, as the user names it; nothing when cancelled, and nothing after a
    // message for the open history file, which no save may replace.
    std::optional<std::string> askSaveTarget(const FileRequest& request);
    // True, after that message, when target is the open history file; for the dialogs of the
    // windows, which ask for their files themselves.
    bool refusesAsOutput(const std::string& target);
    // After a failure on the open file: no file is open any more, the screen is idle and the
    // five-day panel's modes are cleared.
    void dropFileAfterError(const std::string& newCaption);
};

// The caption of message boxes that have no caption of their own.
inline constexpr const char* kProgramShortTitle = "Aurelant";

// The label's caption when it has nothing particular to say.
inline constexpr const char* kInformationPanel = "Information Panel";

}  // namespace aurelant
