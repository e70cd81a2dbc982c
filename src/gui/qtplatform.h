#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/platform.h"

namespace aurelant {

// The desktop as Qt offers it: message boxes, file dialogs, clipboard, printer and pointer.
class QtPlatform : public Platform {
  public:
    // Dialogs are centred on `parent` once it is set.
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    // Called before every dialog, so that the window shows what the command has done so far
    // (a cleared screen behind a question, say).
    void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    // The shared address that the viewer opens on.
    void setViewerAddress(std::string& address) { viewerAddress_ = &address; }
    // Unattended, message boxes are written to standard error and take their default answer.
    void setUnattended(bool unattended) { unattended_ = unattended; }
    // What opens the price chart window.
    void setChartOpener(std::function<void()> open) { openChart_ = std::move(open); }
    void setWatchlistOpener(std::function<void()> open) { openWatchlist_ = std::move(open); }
    void setReliabilityOpener(std::function<void()> open) { openReliability_ = std::move(open); }
    // What refuses a file as the PDF of a print job (the open history file), after a message.
    void setOutputCheck(std::function<bool(const std::string&)> refuses) {
        refusesOutput_ = std::move(refuses);
    }

    Answer message(const MessageRequest& request) override;
    std::optional<std::string> askFile(const FileRequest& request) override;
    std::optional<std::string> clipboardText() override;
    void setClipboardText(const std::string& text) override;
    void clearClipboard() override;
    // On the default printer; when the system has none, into a PDF file the user names.
    PrintOutcome print(const PrintJob& job) override;
    void showModal(FormModel& form) override;
    // One viewer window: a further request brings it to the front on the new address.
    void showViewer() override;
    void showChart() override;
    void showReliability() override;
    void showWatchlist() override;
    void setBusy(bool busy) override;
    std::string programFolder() override;
    CalendarDate today() override;
    bool datesDayFirst() override;

  private:
    void redraw() const;

    QWidget* parent_ = nullptr;
    std::string* viewerAddress_ = nullptr;
    QPointer<QWidget> viewer_;
    std::function<void()> redraw_;
    std::function<void()> openChart_;
    std::function<void()> openWatchlist_;
    std::function<void()> openReliability_;
    std::function<bool(const std::string&)> refusesOutput_;
    bool unattended_ = false;
};

// "desc|pattern|desc|pattern" as Qt name filters, each pattern also in upper case, since file
// names on Linux are case-sensitive: "CSV Files|*.csv" -> "CSV Files (*.csv *.CSV)".
QStringList qtNameFilters(const std::string& filterList);

}  // namespace aurelant
