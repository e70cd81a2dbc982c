#include "repredict/recalcform.h"

#include <array>
#include <utility>

#include "repredict/repredictionreport.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr const char* kNotReady =
    "You must have carried out a full prediction (using the daily 'Open') before you can "
    "re-predict.";

constexpr std::array<std::pair<const char*, OpenExtreme>, 3> kOptions{{
    {"lowoption", OpenExtreme::Low},
    {"highoption", OpenExtreme::High},
    {"noneoption", OpenExtreme::Neither},
}};

}  // namespace

const std::vector<RecalcForm::Control>& RecalcForm::layout() {
    // The runs of blanks push what follows onto the label's next line.
    static const std::vector<Control> controls = {
        {"recalclabel", Kind::Label,
         "Re-calcualte Probabilities Given" + std::string(16, ' ') + "New Price(s)", 1440, 0, 2295,
         495, 0},
        {"latestpricelabel", Kind::Label, "Enter a New Price which Follows the Open:", 360, 720,
         3135, 255, 8},
        {"newpricetext", Kind::TextBox, "", 3720, 720, 1095, 285, 1},
        {"secondlabel", Kind::Label, "Enter a Price which Follows the One Above:", 360, 1200, 3135,
         255, 9},
        {"secondtext", Kind::TextBox, "", 3720, 1200, 1095, 285, 2},
        {"notelabel", Kind::Label,
         "NOTE: The second price is optional. When you enter a second price, the first one "
         "should represent the first \"Turning Point\" of the day, when such a turning point "
         "exists." +
             std::string(131, ' ') +
             "When entering only the first price, select one of the Option buttons below.",
         360, 1560, 4575, 1335, 10, true},
        {"lowoption", Kind::Option, "'Open' is considered to be the 'Low' for the day", 840, 3120,
         3735, 195, 3},
        {"highoption", Kind::Option, "'Open' is considered to be the 'High' for the day", 840, 3480,
         3735, 255, 4},
        {"noneoption", Kind::Option, "Neither of the above is necessarily true", 840, 3840, 3615,
         255, 5},
        {"cancelcommand", Kind::Button, "&Cancel", 840, 4440, 1215, 375, 6},
        {"recalccommand", Kind::Button, "&Re-Predict", 3120, 4440, 1215, 375, 7},
    };
    return controls;
}

RecalcForm::RecalcForm(AppState& window) : window_(window) {}

std::vector<ControlState> RecalcForm::controls() const {
    std::vector<ControlState> states;
    for (const Control& control : layout()) {
        ControlState state{control.name, control.caption, true, std::nullopt};
        if (const Box text = box(control.name)) {
            state.text = this->*text;
        }
        for (const auto& [option, value] : kOptions) {
            if (control.name == option) {
                state.selected = openIs_ == value;
            }
        }
        states.push_back(state);
    }
    return states;
}

RecalcForm::Box RecalcForm::box(const std::string& control) {
    if (control == "newpricetext") {
        return &RecalcForm::newpricetext_;
    }
    return control == "secondtext" ? &RecalcForm::secondtext_ : nullptr;
}

bool RecalcForm::setText(const std::string& control, const std::string& text) {
    const Box found = box(control);
    if (found == nullptr) {
        return false;
    }
    this->*found = text;
    return true;
}

bool RecalcForm::choose(const std::string& control) {
    for (const auto& [option, value] : kOptions) {
        if (control == option) {
            openIs_ = value;
            return true;
        }
    }
    return false;
}

bool RecalcForm::press(const std::string& control) {
    if (control == "recalccommand") {
        recalccommand_click();
    } else if (control == "cancelcommand") {
        cancelcommand_click();
    } else {
        return false;
    }
    return true;
}

void RecalcForm::recalccommand_click() {
    Globals& globals = window_.globals;
    const Reprediction result =
        repredict({globals.upfraction, globals.nextopen, globals.rangevolatility, newpricetext_,
                   secondtext_, openIs_, globals.pricedecimals, globals.crlf});
    if (!result.made()) {
        window_.showMessage(result.message);
        return;
    }
    globals.upfraction = result.upfraction;
    if (result.outlook) {
        window_.runresults.repredict(*result.outlook);
    }
    presentReprediction(window_, result.text);
}

void showRecalcForm(AppState& window) {
    RecalcForm form(window);
    window.platform.showModal(form);
}

void recalcFromPicture(AppState& window) {
    if (!window.globals.repredictready) {
        window.showMessage(kNotReady);
        return;
    }
    showRecalcForm(window);
}

}  // namespace aurelant
