#pragma once

namespace aurelant {

class AppState;

// File > Update from the Web: asks for the open file's source in the update form, appends the
// days it has after the file's latest one, says what was added and shows the file again as
// Re-Display does. The source and a key typed are remembered.
void updateOpenFileFromWeb(AppState& window);

}  // namespace aurelant
