#pragma once

namespace aurelant {

class AppState;

// Re-Display: shows every line of the open file on the main screen; nothing without an open
// file.
void redisplayOpenFile(AppState& window);

}  // namespace aurelant
