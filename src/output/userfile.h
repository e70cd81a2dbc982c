#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace aurelant {

class LineWriter;

// A file dialog in save mode with the first filter selected and a question before an existing
// file is replaced.
FileRequest saveModeRequest(std::string title, std::string filter, std::string initialName,
                            std::string defaultSuffix);

// Writes a file the user named, whole or not at all: the content goes into a temporary file
// beside the target, which replaces the target only once everything is written. A target that
// exists must be a plain file this user may write. Throws AppError; on failure the target is as
// it was and no partial file is left behind.
void writeUserFile(const std::string& target, const std::function<void(LineWriter&)>& write);

}  // namespace aurelant
