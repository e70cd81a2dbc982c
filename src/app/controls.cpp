#include "app/controls.h"

namespace aurelant {

const std::vector<MenuEntry>& mainMenus() {
    static const std::vector<MenuEntry> menus = {
        {"File",
         "&File",
         {{"new", "&New", {}},
          {"open", "&Open", {}},
          {"importfile", "&Import a Price File...", {}},
          {"updatefromweb", "&Update from the Web...", {}},
          {"save",
           "&Save",
           {{"screensave", "Save Data on &Screen as Displayed", {}},
            {"textsave", "Save Prediction as &Text", {}},
            {"htmlsave", "Save Prediction as &HTML", {}},
            {"csvsave", "Save Prediction as &CSV", {}}}},
          {"print", "&Print", {}},
          {"close", "&Close", {}},
          {"Exit", "E&xit", {}}}},
        {"edit",
         "&Edit",
         {{"screencopy", "&Copy", {}},
          {"screencut", "C&ut", {}},
          {"screenpaste", "&Paste", {}},
          {"AddData", "&View Five-Day Price Data", {}},
          {"addlatest", "&Add Latest Trading Day's Prices", {}},
          {"cls", "&Clear Screen", {}}}},
        {"predict",
         "&Predict",
         {{"predictchange", "Predict &Direction (the morning Open is not required)", {}},
          {"predictmove", "Predict Direction and &Movement (morning Open is required)", {}},
          {"recalc", "&Re-Calculate After New \"Within-Day\" Prices Available", {}},
          {"chart", "Show Price &Chart", {}},
          {"reliable", "How &Reliable Is It?", {}},
          {"watchlist", "&Watchlist...", {}}}},
        {"web", "&Web", {}},
        {"tools",
         "&Tools",
         {{"reverse", "&Reverse the Order of a File", {}},
          {"fixup", "&Convert a Space-Separated File to CSV", {}},
          {"redisplay", "Re-&Display the File that is Currently Open", {}},
          {"displayhtml", "Display a File Saved as HTML", {}}}},
        {"strategy", "&Strategy", {}},
        {"about", "&About", {}},
    };
    return menus;
}

const std::vector<PictureEntry>& toolbarPictures() {
    static const std::vector<PictureEntry> pictures = {
        {"OpenImage", 0, 540, 435, "Open a File of OHLC Data", "open.svg"},
        {"saveimage", 720, 465, 480, "Save Predicted Data to a File", "save.svg"},
        {"closeimage", 1320, 465, 435, "Close the current file", "close.svg"},
        {"EditingImage", 1920, 420, 420, "View 5-Day OHLC Data", "view5day.svg"},
        {"EditAddImage", 2400, 540, 540, "Enter Latest Trading Day's OHLC Data", "addday.svg",
         false},
        {"clsimage", 3120, 495, 495, "Clear the screen.", "cls.svg"},
        {"PredictImage", 3720, 465, 420, "Predict Next Trading Day's Direction", "predict.svg"},
        {"predictpricesimage", 4320, 420, 420, "Predict direction and prices", "predictprices.svg"},
        {"repredimage", 4920, 375, 495,
         "Click here when you have \"within-day\" prices, to re-calculate predictions",
         "repredict.svg"},
        {"tphomeimage", 5400, 375, 495, "Access the AurelantsPrices home page.", "home.svg"},
        {"reverseimage", 5880, 375, 495, "Reverse the chronological order of a data file",
         "reverse.svg"},
        {"fiximage", 6360, 495, 495, "Convert space-separated files to CSV", "convert.svg"},
        {"viewhtmimg", 6960, 495, 495, "View a prediction file that was SAVED as HTML",
         "viewhtml.svg"},
        {"strategyimage", 7560, 480, 465, "Get a trading strategy for the latest prediction",
         "strategy.svg"},
        {"printimage", 8160, 495, 495, "Print the screen", "print.svg"},
        {"HelpImage", 8760, 540, 420, "About Aurelant's Prices", "help.svg"},
    };
    return pictures;
}

}  // namespace aurelant
