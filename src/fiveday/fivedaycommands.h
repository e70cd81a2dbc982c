#pragma once

namespace aurelant {

class AppState;

// Whether viewing the five-day panel also clears the other panel modes (the menu item does,
// the toolbar picture does not).
enum class OtherModes { Clear, Keep };

// Shows the last five trading days of the open file.
void viewFiveDays(AppState& window, OtherModes otherModes);

// Lets the user type the latest trading day and append it to the open file.
void addLatestDay(AppState& window);

// Asks for the next day's Open and, once one is known, predicts direction and price levels.
void predictDirectionAndMovement(AppState& window);

}  // namespace aurelant
