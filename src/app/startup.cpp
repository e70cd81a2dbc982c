#include "app/startup.h"

#include "app/aurelant.h"
#include "predict/direction.h"

namespace aurelant {

void runStartup(Aurelant& window, Welcome welcome) {
    Globals& g = window.globals;
    window.strategyEnabled = false;
    g.predictiondone = false;
    g.noconfidence = true;
    if (welcome == Welcome::Show) {
        window.platform.message(
            {"                         Welcome to Aurelant's Prices\r"
             "Open a file of daily prices to begin.",
             "Aurelant's Prices", Buttons::Ok, Icon::Information, 1});
    }
    g.crlf = "\r\n";
    g.bannertext = std::string(26, ' ') + "AurelantsPrices";
    g.datapaneltext = "Data Panel";
    g.fileopen = false;
    g.addlatestmode = false;
    g.viewdatamode = false;
    g.movementmode = false;
    g.lastdialogfile.clear();
    g.programtitle = "Aurelant's Prices V2.46";
    window.caption = g.programtitle;
    window.infolabel.style = {24, false, true, {0, 0, 139}};
    window.infolabel.caption = g.bannertext;
    window.maintext.style.colour = {128, 64, 64};
    window.maintext.setText(g.datapaneltext);
    g.repredictready = false;
    fillUpProbabilityTable(g.upprobtable);
}

}  // namespace aurelant
