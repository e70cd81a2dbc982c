#pragma once

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/formmodel.h"
#include "platform/platform.h"

namespace aurelant {

// A script asked for something it did not provide (an answer, a file, a form action). It is no
// std::exception, so that it passes every command's error path and reaches the runner.
class ScriptError {
  public:
    explicit ScriptError(std::string what) : what_(std::move(what)) {}
    const char* what() const noexcept { return what_.c_str(); }

  private:
    std::string what_;
};

struct FormAction {
    enum class Kind { Set, Choose, Press, Show };
    Kind kind = Kind::Show;
    std::string control;
    std::string text;
};

// The platform of tests and the scenario runner: answers from queues and records every call
// as a transcript line.
class ScriptedPlatform : public Platform {
  public:
    std::deque<Answer> answers;                          // for boxes with more than one button
    std::deque<std::optional<std::string>> fileAnswers;  // nothing = cancel
    std::optional<std::string> clipboard;
    std::map<std::string, std::deque<FormAction>> formActions;
    std::deque<PrintOutcome> printOutcomes;  // when empty, every job prints
    std::string folder = ".";
    CalendarDate todayDate{2026, 1, 5};
    std::vector<std::string> transcript;

    Answer message(const MessageRequest& request) override;
    std::optional<std::string> askFile(const FileRequest& request) override;
    std::optional<std::string> clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& text) override;
    void clearClipboard() override { clipboard.reset(); }
    PrintOutcome print(const PrintJob& job) override;
    void showModal(FormModel& form) override;
    void showViewer() override;
    void showChart() override { transcript.push_back("chart window"); }
    void showReliability() override { transcript.push_back("reliability window"); }
    void showWatchlist() override { transcript.push_back("watchlist window"); }
    void setBusy(bool busy) override;
    std::string programFolder() override { return folder; }
    CalendarDate today() override { return todayDate; }

    // Set by the owner of the shared state, so that the viewer line can show its address.
    const std::string* viewerAddress = nullptr;

  private:
    void runFormAction(FormModel& form, const FormAction& action);
};

// A text between double quotes with TAB, CR, LF, backslash and quote escaped.
std::string quoted(const std::string& text);

// The "form NAME CONTROL text=... enabled=..." lines of a form.
std::vector<std::string> describeForm(const FormModel& form);

}  // namespace aurelant
