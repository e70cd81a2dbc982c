#include "app/helppage.h"

#include <array>

namespace aurelant {

std::string helpPageText(const std::string& lineBreak) {
    const std::string rule(103, '=');
    const std::array<std::string, 58> lines = {
        "AURELANT'S PRICES - TODAY!",
        "",
        rule,
        "This version of the program gives the probabilities of price movement for the next "
        "trading day,",
        "and the probabilities of reaching pre-set prices during that day.",
        "",
        "These probabilities change during the trading day as prices move, so the program can "
        "re-calculate",
        "its predicted prices from the prices that you see within the day.",
        "",
        "The historic predictions shown on the screen were made without any within-day prices.",
        "Predictions that you re-calculate with within-day data should therefore be better than "
        "the historic",
        "ones.",
        "",
        "Not every file is suitable for prediction: some lack the volatility needed to calculate "
        "probabilities,",
        "or to make trading worthwhile, as prices must change enough within each trading day.",
        rule,
        "",
        "Rest the mouse pointer on any item of the toolbar to see a tip about what that tool "
        "does.",
        "The same tools are also available from the menus.",
        "",
        "You need an up-to-date file of Open, High, Low and Close data for the item that you "
        "trade.",
        "The home page (reachable from the 'Web' menu) has links to sources of such data, but "
        "any other source may be used.",
        "The file may be in CSV (comma-separated) format or in tab-separated text format.",
        "Each record must hold at least the date, open, high, low and close, in that order.",
        "The file must be in chronological order, with the oldest dates at the top.",
        "",
        "Some files obtained from the Internet are in reverse-chronological order.",
        "The 'Reverse' tool in the 'Tools' menu puts them in the right order. The 'View Five-Day "
        "Price Data' tool",
        "of the 'Edit' menu shows the last five records of a file, and so tells you its order.",
        "",
        "Data come into the program through the OPEN function, or by PASTING them onto the main "
        "screen.",
        "",
        "With the file alone, the program gives the probability of an up or down move for the "
        "next trading day.",
        "For the probabilities of reaching price levels, the day's 'Open' must also be given,",
        "preferably as soon as trading starts.",
        "",
        "The opening figure is entered through 'Predict Direction and Movement' in the "
        "'Predict' menu.",
        "",
        "For actual trading you need current prices through the day.",
        "Give them to the program as they become available ('Re-Calculate' in the 'Predict' "
        "menu),",
        "and its predictions will be better informed.",
        "",
        "Keep the file up to date: at the close of each trading day add that day's Open, High, "
        "Low and Close",
        "with 'Add Latest Trading Day's Prices' in the 'Edit' menu,",
        "so that the next prediction uses the latest prices.",
        "",
        "A table of daily prices in another layout (other separators, decimal commas, other "
        "date forms,",
        "newest first, more columns) is brought in with 'Import a Price File' in the 'File' "
        "menu.",
        "'Show Price Chart' in the 'Predict' menu draws the file's prices with the predictions "
        "and levels,",
        "'How Reliable Is It?' in the same menu shows how often predictions of each probability "
        "came true,",
        "and its 'Watchlist' predicts every price file of a folder at once.",
        "",
        "Remember that a predicted 60% probability of an increase also means a 40% probability",
        "of a drop.",
        "",
        "Good Luck!",
        "",
        "Use the 'Print' button (above) to print this information.",
    };
    std::string page;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        page += (i == 0 ? "" : lineBreak) + lines[i];
    }
    return page;
}

}  // namespace aurelant
