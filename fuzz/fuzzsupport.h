#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/aurelant.h"
#include "platform/formmodel.h"
#include "platform/platform.h"
#include "state/globals.h"

// What the fuzz targets share: a desktop that answers every question with its first button and
// every file dialog with one file, and that file, which each input is written into.
namespace aurelant::fuzz {

class FuzzPlatform : public Platform {
  public:
    explicit FuzzPlatform(std::string folder) : folder_(std::move(folder)) {}

    std::optional<std::string> chosenFile;
    bool answerNo = false;  // to every question with Yes and No
    int questions = 0;      // asked so far

    Answer message(const MessageRequest& request) override;
    std::optional<std::string> askFile(const FileRequest& /*request*/) override {
        return chosenFile;
    }
    std::optional<std::string> clipboardText() override { return std::nullopt; }
    void setClipboardText(const std::string& /*text*/) override {}
    void clearClipboard() override {}
    PrintOutcome print(const PrintJob& /*job*/) override { return {}; }
    void showModal(FormModel& form) override { form.hide(); }
    void showViewer() override {}
    void showChart() override {}
    void showReliability() override {}
    void showWatchlist() override {}
    void setBusy(bool /*busy*/) override {}
    std::string programFolder() override { return folder_; }
    CalendarDate today() override { return {2026, 1, 5}; }

  private:
    std::string folder_;
};

// A folder of its own for the process (in memory where the system offers one), the input file
// in it, and a program state around them.
class FuzzSession {
  public:
    FuzzSession();
    ~FuzzSession();
    FuzzSession(const FuzzSession&) = delete;
    FuzzSession& operator=(const FuzzSession&) = delete;

    void writeInput(const std::uint8_t* data, std::size_t size) const;
    std::string readInput() const;

    // A fresh state and window that has the input file open, as Open leaves it.
    Aurelant& windowWithInputOpen();
    // The desktop of the window made last.
    FuzzPlatform& platform() { return *platform_; }
    const std::string& inputPath() const { return inputPath_; }

  private:
    std::string folder_;
    std::string inputPath_;
    std::optional<FuzzPlatform> platform_;
    std::optional<Globals> globals_;
    std::optional<Aurelant> window_;
};

FuzzSession& session();

// Stops the fuzzer with a report when a rule of the program is broken.
void require(bool condition, const char* rule);

}  // namespace aurelant::fuzz
