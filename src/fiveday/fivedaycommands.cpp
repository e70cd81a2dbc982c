#include "fiveday/fivedaycommands.h"

#include "fiveday/dailydata.h"
#include "predict/predictionrun.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

void showPanel(AppState& window) {
    DailyData panel(window);
    panel.load();
    window.platform.showModal(panel);
}

}  // namespace

void viewFiveDays(AppState& window, OtherModes otherModes) {
    Globals& globals = window.globals;
    globals.viewdatamode = true;
    if (otherModes == OtherModes::Clear) {
        globals.movementmode = false;
        globals.addlatestmode = false;
    }
    showPanel(window);
}

void addLatestDay(AppState& window) {
    if (!window.globals.fileopen) {
        window.showMessage("You must first open a file");
        return;
    }
    window.globals.addlatestmode = true;
    showPanel(window);
}

void predictDirectionAndMovement(AppState& window) {
    Globals& globals = window.globals;
    window.cls();
    globals.movementmode = true;
    showPanel(window);
    // An Open from an earlier entry still counts after a Cancel; the run then predicts the
    // direction only, since Cancel cleared the movement mode.
    if (globals.nextopen == 0) {
        return;
    }
    globals.repredictready = true;
    window.recalcEnabled = true;
    runPrediction(window);
}

}  // namespace aurelant
