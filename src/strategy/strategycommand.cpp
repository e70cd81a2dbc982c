#include "strategy/strategycommand.h"

#include "common/numtext.h"
#include "common/utf8.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

// The advice reads `level75text` as stored: with its leading blank where a sentence has none
// of its own, trimmed elsewhere.
std::string upAdvice(const Globals& g) {
    const std::string& br = g.crlf;
    const std::string gap = br + br;
    return "1. If the Initial Movement is Upwards" + gap +
           "If the initial movement is upwards, buy as soon as possible.  The hope in this case is "
           "that the opening price will be the low for the day. If" +
           br +
           "the price subsequently moves downwards, you will lose money (subject to any 'stop "
           "loss' strategy employed). We are only dealing in" +
           br +
           "statistics, so some days' predictions will be wrong.  If the price continues to "
           "increase (there's a " +
           g.probabilitytext + "% probability that it will), then there's a" + br +
           "75% probabiltity that the price will exceed " + trimmed(g.level75text) + "." + gap +
           "You can update these prediction by using the 'Re-predict' function of the program, "
           "once you have 'Within-Day' prices." +
           gap + "2. If the Initial Movement is Downwards" + gap +
           "If the initial movement is downwards, do nothing and wait for the market to bottom "
           "out. If the price keeps falling, you will lose no money. If" +
           br +
           "the downward drift stops, you can buy at or near the low, and wait for the price to "
           "increase." +
           gap +
           "NOTE: You should use the 're-predict' function to re-calculate the predicted high "
           "for the day.";
}

std::string downAdvice(const Globals& g) {
    const std::string& br = g.crlf;
    const std::string gap = br + br;
    return "1. If the Initial Movement is Downwards" + gap +
           "If the initial movement is downwards, sell as soon as possible.  The hope in this "
           "case is that the opening price will be the high for the day." +
           br +
           "If the price subsequently moves upwards, you will lose money (subject to any 'stop "
           "loss' strategy employed). We are only dealing in" +
           br +
           "statistics, so some days' predictions will be wrong.  If the price continues to "
           "decrease (there's a " +
           g.probabilitytext + "% probability that it will), then there's" + br +
           "a 75% probabiltity that the price will get below " + g.level75text +
           ", enabling you to buy at a lower price than you initially sold for." + gap +
           "NOTE: You should use the 'Re-Predict' function of the program to update these "
           "predictions, once you have access to 'Within-Day' prices." +
           gap + "2. If the Initial Movement is Upwards" + gap +
           "If the initial movement is upwards, do nothing and wait for the market to peak. If "
           "the price keeps increasing, you will lose no money. If" +
           br +
           "the upward drift stops, you can sell at or near the high, and wait for the price to "
           "drop. Because of the initial increase, there is a reduced" +
           br + "probability that the price will get down to " + trimmed(g.level75text) + "." +
           gap + "NOTE: You can use the 'Re-Predict' function to update these predictions.";
}

std::string lowConfidenceWarning(const std::string& br) {
    return "AurelantsPrices does not a give sufficient probability of a price change to "
           "recommend trading. You could still choose to trade if you have" +
           br +
           "other indicators supporting your decision, but the program is not a good indicator "
           "of direction until probabilites exceed 65%. Even then," +
           br +
           "remember that a 67% probability will give one incorrect prediction for every two "
           "correct ones." +
           br + br;
}

}  // namespace

void showTradingStrategy(AppState& window) {
    Globals& g = window.globals;
    if (g.level75text.empty()) {
        g.level75text = g.directionup ? "the predicted high" : "the predicted low";
    }
    g.strategytext = g.directionup ? upAdvice(g) : downAdvice(g);
    const std::string gap = g.crlf + g.crlf;
    window.maintext.setText("Strategy for file: " + upperCase(g.currentfile) + gap +
                            "Using an Open of: " + trimmedNumberText(g.nextopen) + gap +
                            (g.noconfidence ? lowConfidenceWarning(g.crlf) : "") + g.strategytext);
}

void strategyFromToolbar(AppState& window) {
    // Without a standing prediction the advice would mix an earlier run's figures with the
    // file that is open now.
    if (!window.globals.movementmode || !window.globals.predictiondone) {
        window.showMessage(
            "You must have made a prediction of price movement before asking for "
            "a trading strategy.");
        return;
    }
    showTradingStrategy(window);
}

}  // namespace aurelant
