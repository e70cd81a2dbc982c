#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/historylimits.h"
#include "common/userfile.h"
#include "platform/filerequests.h"

// Steps that the price-file commands share.
namespace aurelant {

class AppError;
class AppState;
struct MainScreen;

// Appends a file of `count` lines to the screen, each followed by `lineEnd`: the whole file when
// it has at most 120 lines, otherwise a notice, the first 60 lines, a snip marker and the last
// 60 lines.
void appendPreview(MainScreen& screen, const std::string& path, std::size_t count,
                   const std::string& lineEnd);

// The error path of the commands that open or rewrite a history file: no file is open any more,
// the window shows the idle screen without a caption, and the error is reported by its number.
void closeFileAfterError(AppState& window, const AppError& error);

}  // namespace aurelant
