#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/dates.h"

// Everything the program asks of the desktop. The Qt program implements it with real dialogs;
// tests and the scenario runner implement it with scripted answers.
namespace aurelant {

class FormModel;

enum class Buttons { Ok, OkCancel, YesNo };
enum class Icon { None, Information, Question, Exclamation };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    int defaultButton = 1;  // 1 = the first button, 2 = the second
};

struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string title;
    std::string filter;  // "description|pattern|description|pattern..."
    int filterIndex = 1;
    std::string initialName;
    std::string defaultSuffix;  // added to a name typed without one
    bool overwritePrompt = false;
};

struct PrintJob {
    int fontSize = 8;
    std::vector<std::string> lines;
    std::string picture{};  // a PNG picture printed after the lines, as wide as the page allows
    bool landscape = false;
};

// How a print job ended: on paper (or in a PDF file), cancelled by the user, or failed.
struct PrintOutcome {
    enum class Kind { Printed, Cancelled, Failed };
    Kind kind = Kind::Printed;
    std::string failure;  // what went wrong, for Failed
};

class Platform {
  public:
    virtual ~Platform() = default;

    virtual Answer message(const MessageRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> askFile(const FileRequest& request) = 0;

    // The clipboard's text, or nothing when it holds no text.
    virtual std::optional<std::string> clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    virtual void clearClipboard() = 0;

    virtual PrintOutcome print(const PrintJob& job) = 0;
    // Shows a form whose load has run; returns when the form has hidden itself.
    virtual void showModal(FormModel& form) = 0;
    // Opens the HTML viewer on the shared viewer address, or brings it to the front.
    virtual void showViewer() = 0;
    // Opens the price chart window, or brings it to the front.
    virtual void showChart() = 0;
    // Opens the window of how reliable the last prediction's probabilities are, or brings it to
    // the front.
    virtual void showReliability() = 0;
    // Opens the watchlist window, or brings it to the front.
    virtual void showWatchlist() = 0;

    virtual void setBusy(bool busy) = 0;
    // The folder of the program's working files.
    virtual std::string programFolder() = 0;
    virtual CalendarDate today() = 0;
    // Whether the user's locale writes dates day first (07/02/2024 for 7 February).
    virtual bool datesDayFirst() { return false; }
};

// Shows the busy pointer for as long as it lives.
class BusyPointer {
  public:
    explicit BusyPointer(Platform& platform) : platform_(platform) { platform_.setBusy(true); }
    ~BusyPointer() { platform_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    Platform& platform_;
};

}  // namespace aurelant
