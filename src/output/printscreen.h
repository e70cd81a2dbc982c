#pragma once

namespace aurelant {

class Aurelant;

// Print: the main screen's text at 8 points below a margin of six blank lines. Nothing happens
// while the screen is empty or idle; a printer's failure is reported, a cancel is not.
void printScreen(Aurelant& window);

}  // namespace aurelant
