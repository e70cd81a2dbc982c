#include "repredict/repredictionreport.h"

#include "app/aurelant.h"
#include "common/utf8.h"

namespace aurelant {
namespace {

constexpr const char* kReportCaption = "AurelantsPrice Re-Prediction";
constexpr const char* kSaveCaption = "Re=Prediction";
constexpr const char* kSaveQuestion = "Do you wish to SAVE this re-prediction to a file?";

bool confirmed(Aurelant& window, const std::string& question, const char* caption) {
    return window.platform.message({question, caption, Buttons::YesNo, Icon::Question, 1}) ==
           Answer::Yes;
}

// The text's lines, at its line breaks; a break at the end starts one more, empty line.
std::vector<std::string> linesOf(const std::string& text, const std::string& lineBreak) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(lineBreak, start)) != std::string::npos;
         start = end + lineBreak.size()) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

void printReprediction(Aurelant& window, const std::string& fileName, const std::string& text) {
    PrintJob job;
    job.lines.assign(6, "");
    job.lines.push_back("RE-PREDICTION: " + fileName);
    job.lines.push_back("");
    for (std::string& line : linesOf(text, window.globals.crlf)) {
        job.lines.push_back(std::move(line));
    }
    window.platform.print(job);
}

}  // namespace

void presentReprediction(Aurelant& window, const std::string& text) {
    Globals& globals = window.globals;
    const std::string fileName = upperCase(globals.currentfile);
    const std::string& crlf = globals.crlf;
    if (confirmed(window, fileName + crlf + crlf + text + crlf + crlf + "Print this?",
                  kReportCaption)) {
        printReprediction(window, fileName, text);
    }
    if (!confirmed(window, kSaveQuestion, kSaveCaption)) {
        globals.savechoice.clear();
        return;
    }
}

}  // namespace aurelant
