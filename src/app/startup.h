#pragma once

namespace aurelant {

class Aurelant;

// The main window's load: shared state, table of probabilities and the welcome message.
void runStartup(Aurelant& window);

}  // namespace aurelant
