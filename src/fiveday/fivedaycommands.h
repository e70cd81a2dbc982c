#pragma once

namespace aurelant {

class Aurelant;

// Whether viewing the five-day panel also clears the other panel modes (the menu item does,
// the toolbar picture does not).
enum class OtherModes { Clear, Keep };

// Shows the last five trading days of the open file.
void viewFiveDays(Aurelant& window, OtherModes otherModes);

// Lets the user type the latest trading day and append it to the open file.
void addLatestDay(Aurelant& window);

// Asks for the next day's Open and, once one is known, predicts direction and price levels.
void predictDirectionAndMovement(Aurelant& window);

}  // namespace aurelant
