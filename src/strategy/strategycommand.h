#pragma once

// Plain-language trading advice built from the last prediction.
namespace aurelant {

class AppState;

// Replaces the main screen with the advice for the predicted direction.
void showTradingStrategy(AppState& window);

// The toolbar picture: gives the advice only after a prediction of price movement.
void strategyFromToolbar(AppState& window);

}  // namespace aurelant
