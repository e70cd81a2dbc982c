#pragma once

#include <optional>
#include <string>

#include "common/numtext.h"
#include "state/runresults.h"

// The re-prediction: from one or two prices seen after the day's Open, a new UP/DOWN probability
// and new 75/50/25 % price levels, as the text the user is shown.
namespace aurelant {

// The user's view of the day's Open.
enum class OpenExtreme { Low, High, Neither };

struct RepredictionInput {
    double upfraction = 0;  // D: the UP fraction the last prediction left
    double open = 0;        // O: the day's Open
    float volatility = 0;   // sigma: the volatility unit of the last prediction
    std::string firstPrice;
    std::string secondPrice;  // blanks only: the first price alone is used
    OpenExtreme openIs = OpenExtreme::Neither;
    int priceDecimals = kCutDecimals;  // to which the levels are cut
    std::string crlf = "\r\n";
};

// Either the re-prediction's text or the one message that says why there is none.
struct Reprediction {
    std::string text;
    std::string message;
    double upfraction = 0;  // D afterwards; only a two-price text moves it
    // The more likely direction with its levels (those of its general block for two prices), for
    // the price chart; nothing when both directions are equally likely.
    std::optional<Outlook> outlook{};

    bool made() const { return message.empty(); }
};

Reprediction repredict(const RepredictionInput& input);

}  // namespace aurelant
