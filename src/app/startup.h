#pragma once

namespace aurelant {

class Aurelant;

// Whether start-up greets the user. A program started on a file goes straight to it.
enum class Welcome { Show, Skip };

// The main window's load: shared state, table of probabilities and the welcome message.
void runStartup(Aurelant& window, Welcome welcome);

}  // namespace aurelant
