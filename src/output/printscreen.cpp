#include "output/printscreen.h"

#include "common/textfile.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr int kMarginLines = 6;

}  // namespace

void printScreen(AppState& window) {
    const std::string& text = window.maintext.text;
    if (text.empty() || text == window.globals.datapaneltext) {
        return;
    }
    printText(window, PrintJob{.fontSize = 8, .lines = std::vector<std::string>(kMarginLines, " ")},
              text);
}

void printText(AppState& window, PrintJob job, std::string_view text) {
    const std::string_view lineEnd = kLineEnd;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(lineEnd, start)) != std::string_view::npos;
         start = end + lineEnd.size()) {
        job.lines.emplace_back(text.substr(start, end - start));
    }
    job.lines.emplace_back(text.substr(start));
    printJob(window, job);
}

void printJob(AppState& window, const PrintJob& job) {
    const PrintOutcome outcome = window.platform.print(job);
    if (outcome.kind == PrintOutcome::Kind::Failed) {
        window.showMessage("Error: " + outcome.failure);
    }
}

}  // namespace aurelant
