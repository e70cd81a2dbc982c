#pragma once

namespace aurelant {

class Aurelant;

// The Open command: asks for a history file, checks it, rewrites it without header and short
// lines, and shows it on the main screen as the open file.
void openHistoryFile(Aurelant& window);

}  // namespace aurelant
