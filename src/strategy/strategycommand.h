#pragma once

// Plain-language trading advice built from the last prediction.
namespace aurelant {

class Aurelant;

// Replaces the main screen with the advice for the predicted direction.
void showTradingStrategy(Aurelant& window);

// The toolbar picture: gives the advice only after a prediction of price movement.
void strategyFromToolbar(Aurelant& window);

}  // namespace aurelant
