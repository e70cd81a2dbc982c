#pragma once

#include <string>

namespace aurelant {

class AppState;

// Shows a finished re-prediction text with the history file's name, prints it when the user
// wishes, and saves it as a document or an HTML page when the user wishes.
void presentReprediction(AppState& window, const std::string& text);

}  // namespace aurelant
