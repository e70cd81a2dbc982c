#include "output/printscreen.h"

#include "app/aurelant.h"
#include "common/textfile.h"

namespace aurelant {
namespace {

constexpr int kMarginLines = 6;

}  // namespace

void printScreen(Aurelant& window) {
    const std::string& text = window.maintext.text;
    if (text.empty() || text == window.globals.datapaneltext) {
        return;
    }
    PrintJob job{.fontSize = 8, .lines = std::vector<std::string>(kMarginLines, " ")};
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(kLineEnd, start)) != std::string::npos;
         start = end + 2) {
        job.lines.push_back(text.substr(start, end - start));
    }
    job.lines.push_back(text.substr(start));
    const PrintOutcome outcome = window.platform.print(job);
    if (outcome.kind == PrintOutcome::Kind::Failed) {
        window.showMessage("Error: " + outcome.failure);
    }
}

}  // namespace aurelant
