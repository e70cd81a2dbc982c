#include "output/saveasform.h"

#include <map>

#include "output/predictionsaves.h"
#include "output/screensave.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr const char* kRepredictMode = "repredict";
constexpr std::size_t kFirstTabGroup = 3;  // the options before the buttons in tab order
constexpr std::size_t kHtml = 1;
constexpr std::size_t kDocument = 4;

}  // namespace

SaveAsForm::SaveAsForm(Globals& globals) : globals_(globals) {}

std::vector<ControlState> SaveAsForm::controls() const {
    std::vector<ControlState> list;
    auto addOption = [&](std::size_t index) {
        list.push_back({kOptions[index].name, kOptions[index].caption, enabled_[index],
                        optionSelected(index)});
    };
    for (std::size_t index = 0; index < kFirstTabGroup; ++index) {
        addOption(index);
    }
    list.push_back({kProceed, "&Proceed", true, std::nullopt});
    list.push_back({kCancel, "&Cancel", true, std::nullopt});
    for (std::size_t index = kFirstTabGroup; index < kOptions.size(); ++index) {
        addOption(index);
    }
    return list;
}

bool SaveAsForm::choose(const std::string& control) {
    for (std::size_t index = 0; index < kOptions.size(); ++index) {
        if (control == kOptions[index].name) {
            if (enabled_[index]) {
                selected_ = index;
            }
            return true;
        }
    }
    return false;
}

bool SaveAsForm::press(const std::string& control) {
    if (control == kProceed) {
        proceedcommand_click();
    } else if (control == kCancel) {
        cancelcommand_click();
    } else {
        return false;
    }
    return true;
}

void SaveAsForm::load() {
    if (globals_.savechoice == kRepredictMode) {
        for (std::size_t index = 0; index < kOptions.size(); ++index) {
            enabled_[index] = index == kHtml || index == kDocument;
        }
        globals_.savechoice.clear();
        return;
    }
    enabled_.fill(true);
    enabled_[kDocument] = false;
}

// With no option selected, `savechoice` keeps its value.
void SaveAsForm::proceedcommand_click() {
    if (selected_ != kNone) {
        globals_.savechoice = kOptions[selected_].choice;
    }
    hide();
}

void SaveAsForm::cancelcommand_click() {
    globals_.savechoice = "cancel";
    hide();
}

void showSaveAsForm(AppState& window) {
    SaveAsForm form(window.globals);
    form.load();
    window.platform.showModal(form);
}

void saveInChosenForm(AppState& window) {
    showSaveAsForm(window);
    using Command = void (*)(AppState&);
    static const std::map<std::string, Command> saves = {
        {"text", &saveAsText},
        {"html", &saveAsHtml},
        {"csv", &saveAsCsv},
        {"screen", [](AppState& state) { saveScreen(state); }},
    };
    // "cancel", "doc" and an empty choice save nothing here.
    if (const auto save = saves.find(window.globals.savechoice); save != saves.end()) {
        save->second(window);
    }
}

}  // namespace aurelant
