#include "app/aurelant.h"

#include <map>

#include "app/helppage.h"
#include "app/startup.h"
#include "chart/reliability.h"
#include "common/errors.h"
#include "fiveday/fivedaycommands.h"
#include "output/predictionsaves.h"
#include "output/printscreen.h"
#include "output/saveasform.h"
#include "output/screensave.h"
#include "predict/predictionrun.h"
#include "pricefile/clipboardcommands.h"
#include "pricefile/convertcommand.h"
#include "pricefile/importcommand.h"
#include "pricefile/opencommand.h"
#include "pricefile/redisplaycommand.h"
#include "pricefile/reversecommand.h"
#include "quotes/webupdate.h"
#include "repredict/recalcform.h"
#include "strategy/strategycommand.h"
#include "viewer/viewercommands.h"

namespace aurelant {
namespace {

using Handler = void (Aurelant::*)();

const std::map<std::string, Handler>& handlers() {
    static const std::map<std::string, Handler> table = {
        {"new", &Aurelant::new_click},
        {"open", &Aurelant::open_click},
        {"importfile", &Aurelant::importfile_click},
        {"updatefromweb", &Aurelant::updatefromweb_click},
        {"screensave", &Aurelant::screensave_click},
        {"textsave", &Aurelant::textsave_click},
        {"htmlsave", &Aurelant::htmlsave_click},
        {"csvsave", &Aurelant::csvsave_click},
        {"print", &Aurelant::print_click},
        {"close", &Aurelant::close_click},
        {"Exit", &Aurelant::Exit_click},
        {"screencopy", &Aurelant::screencopy_click},
        {"screencut", &Aurelant::screencut_click},
        {"screenpaste", &Aurelant::screenpaste_click},
        {"AddData", &Aurelant::AddData_click},
        {"addlatest", &Aurelant::addlatest_click},
        {"cls", &Aurelant::cls_click},
        {"predictchange", &Aurelant::predictchange_click},
        {"predictmove", &Aurelant::predictmove_click},
        {"recalc", &Aurelant::recalc_click},
        {"chart", &Aurelant::chart_click},
        {"reliable", &Aurelant::reliable_click},
        {"watchlist", &Aurelant::watchlist_click},
        {"web", &Aurelant::web_click},
        {"reverse", &Aurelant::reverse_click},
        {"fixup", &Aurelant::fixup_click},
        {"redisplay", &Aurelant::redisplay_click},
        {"displayhtml", &Aurelant::displayhtml_click},
        {"strategy", &Aurelant::strategy_click},
        {"about", &Aurelant::about_click},
        {"OpenImage", &Aurelant::OpenImage_click},
        {"saveimage", &Aurelant::saveimage_click},
        {"closeimage", &Aurelant::closeimage_click},
        {"EditingImage", &Aurelant::EditingImage_click},
        {"EditAddImage", &Aurelant::EditAddImage_click},
        {"clsimage", &Aurelant::clsimage_click},
        {"PredictImage", &Aurelant::PredictImage_click},
        {"predictpricesimage", &Aurelant::predictpricesimage_click},
        {"repredimage", &Aurelant::repredimage_click},
        {"tphomeimage", &Aurelant::tphomeimage_click},
        {"reverseimage", &Aurelant::reverseimage_click},
        {"fiximage", &Aurelant::fiximage_click},
        {"viewhtmimg", &Aurelant::viewhtmimg_click},
        {"strategyimage", &Aurelant::strategyimage_click},
        {"printimage", &Aurelant::printimage_click},
        {"HelpImage", &Aurelant::HelpImage_click},
    };
    return table;
}

}  // namespace

Aurelant::Aurelant(Globals& globals, Platform& platform) : AppState(globals, platform) {}

void Aurelant::load(Welcome welcome) {
    runStartup(*this, welcome);
}

bool Aurelant::click(const std::string& name) {
    const auto found = handlers().find(name);
    if (found == handlers().end()) {
        return false;
    }
    // A greyed-out menu item cannot be clicked.
    const bool disabled = (name == "recalc" && !recalcEnabled) ||
                          (name == "strategy" && !strategyEnabled) ||
                          (name == "chart" && !chartEnabled());
    if (disabled) {
        return true;
    }
    // The last stop for a failure that a command's own error path did not take, a shortage of
    // memory above all: the user is told, and the program goes on.
    try {
        (this->*found->second)();
    } catch (const std::exception& exception) {
        showMessage(errorMessage(ErrorWording::NumberColon, asAppError(exception)));
    }
    return true;
}

void Aurelant::HelpImage_click() {
    cls();
    globals.crlf = "\r\n";
    maintext.setText(helpPageText(globals.crlf));
}

void Aurelant::PredictImage_click() {
    runPrediction(*this);
}

void Aurelant::AddData_click() {
    viewFiveDays(*this, OtherModes::Clear);
}

void Aurelant::EditingImage_click() {
    viewFiveDays(*this, OtherModes::Keep);
}

void Aurelant::addlatest_click() {
    addLatestDay(*this);
}

void Aurelant::predictmove_click() {
    predictDirectionAndMovement(*this);
}

void Aurelant::open_click() {
    openHistoryFile(*this);
}

void Aurelant::importfile_click() {
    importPriceFile(*this);
}

void Aurelant::updatefromweb_click() {
    updateOpenFileFromWeb(*this);
}

void Aurelant::reverse_click() {
    reverseFileOrder(*this);
}

void Aurelant::fixup_click() {
    convertToCsv(*this);
}

void Aurelant::redisplay_click() {
    redisplayOpenFile(*this);
}

void Aurelant::recalc_click() {
    showRecalcForm(*this);
}

void Aurelant::repredimage_click() {
    recalcFromPicture(*this);
}

void Aurelant::screensave_click() {
    saveScreen(*this);
}

void Aurelant::textsave_click() {
    saveAsText(*this);
}

void Aurelant::htmlsave_click() {
    saveAsHtml(*this);
}

void Aurelant::csvsave_click() {
    saveAsCsv(*this);
}

void Aurelant::displayhtml_click() {
    displayHtmlFile(*this);
}

void Aurelant::tphomeimage_click() {
    showHomePage(*this);
}

void Aurelant::print_click() {
    printScreen(*this);
}

void Aurelant::saveimage_click() {
    saveInChosenForm(*this);
}

void Aurelant::screencopy_click() {
    copySelection(*this);
}

void Aurelant::screencut_click() {
    cutSelection(*this);
}

void Aurelant::screenpaste_click() {
    pasteFromClipboard(*this);
}

// The figures come from the last prediction's back-test.
void Aurelant::reliable_click() {
    if (runresults.file().empty()) {
        showMessage(ReliabilityReport::predictFirst());
        return;
    }
    platform.showReliability();
}

void Aurelant::strategy_click() {
    showTradingStrategy(*this);
}

void Aurelant::strategyimage_click() {
    strategyFromToolbar(*this);
}

}  // namespace aurelant
