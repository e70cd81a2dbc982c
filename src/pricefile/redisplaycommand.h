#pragma once

namespace aurelant {

class Aurelant;

// Re-Display: shows every line of the open file on the main screen; nothing without an open
// file.
void redisplayOpenFile(Aurelant& window);

}  // namespace aurelant
