#include "state/appstate.h"

#include "common/textfile.h"

namespace aurelant {
namespace {

constexpr Rgb kLabelBlue{0, 0, 192};
constexpr Rgb kScreenPurple{128, 0, 128};
constexpr const char* kRedisplayHint =
    "You may re-display the contents of the currently-opened file by using the'Re-display' tool "
    "in the 'Tools' menu.";

}  // namespace

void MainScreen::setText(std::string newText) {
    text = std::move(newText);
    selectionStart = 0;
    selectionLength = 0;
}

void MainScreen::append(std::string_view piece) {
    text.append(piece);
}

AppState::AppState(Globals& globals, Platform& platform) : globals(globals), platform(platform) {}

void AppState::cls() {
    infolabel.style = {8, false, false, kLabelBlue};
    infolabel.caption = kInformationPanel;
    maintext.style = {8, false, false, kScreenPurple};
    maintext.setText(globals.datapaneltext);
    if (globals.fileopen) {
        infolabel.caption = kRedisplayHint;
    }
}

void AppState::newFile() {
    cls();
    for (int row = 1; row <= 5; ++row) {
        for (int field = 1; field <= 4; ++field) {
            globals.fivedays[row][field] = 0;
        }
    }
    globals.probability = 0;
    globals.patterncode = 0;
    globals.fileopen = false;
    globals.noconfidence = true;
    globals.movementmode = false;
    recalcEnabled = false;
    globals.currentfile.clear();
    caption = globals.programtitle;
    maintext.setText(globals.datapaneltext);
    strategyEnabled = false;
    globals.predictiondone = false;
    globals.repredictready = false;
    infolabel.caption = kInformationPanel;
    runresults.clear();
}

void AppState::dropFileAfterError(const std::string& newCaption) {
    globals.currentfile.clear();
    caption = newCaption;
    maintext.setText(globals.datapaneltext);
    globals.fileopen = false;
    globals.addlatestmode = false;
    globals.viewdatamode = false;
    globals.movementmode = false;
}

void AppState::showMessage(const std::string& text) {
    platform.message({text, kProgramShortTitle, Buttons::Ok, Icon::None, 1});
}

bool AppState::askYesNo(const std::string& question, const std::string& caption,
                        DefaultAnswer defaultAnswer) {
    const int defaultButton = defaultAnswer == DefaultAnswer::Yes ? 1 : 2;
    return platform.message({question, caption, Buttons::YesNo, Icon::Question, defaultButton}) ==
           Answer::Yes;
}

std::optional<std::string> AppState::askSaveTarget(const FileRequest& request) {
    std::optional<std::string> target = platform.askFile(request);
    if (target && refusesAsOutput(*target)) {
        return std::nullopt;
    }
    return target;
}

bool AppState::refusesAsOutput(const std::string& target) {
    const std::string& open = globals.currentfile;
    if (open.empty() || (target != open && !sameFile(target, open))) {
        return false;
    }
    showMessage("The file chosen for the output is the open price file, " + open +
                "; choose another name. The price file has not been changed.");
    return true;
}

}  // namespace aurelant
