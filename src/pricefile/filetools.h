#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/historylimits.h"
#include "common/userfile.h"
#include "platform/filerequests.h"

// Steps that the price-file commands share.
namespace aurelant {

class AppError;
class AppState;
struct MainScreen;

// Appends the lines of a file to the screen, each followed by `lineEnd`: all of them when there
// are at most 120, otherwise a notice, the first 60 lines, a snip marker and the last 60 lines.
void appendPreview(MainScreen& screen, const std::vector<std::string_view>& lines,
                   const std::string& lineEnd);

// The error path of the commands that open or rewrite a history file: no file is open any more,
// the window shows the idle screen without a caption, and the error is reported by its number.
void closeFileAfterError(AppState& window, const AppError& error);

}  // namespace aurelant
