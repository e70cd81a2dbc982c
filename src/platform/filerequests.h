#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"

// The file dialogs that the commands ask for, with the first filter of the list selected.
namespace aurelant {

inline FileRequest openModeRequest(std::string title, std::string filter, std::string initialName) {
    return {.mode = FileRequest::Mode::Open,
            .title = std::move(title),
            .filter = std::move(filter),
            .filterIndex = 1,
            .initialName = std::move(initialName),
            .defaultSuffix = {},
            .overwritePrompt = false};
}

// Save mode, with a question before an existing file is replaced.
inline FileRequest saveModeRequest(std::string title, std::string filter, std::string initialName,
                                   std::string defaultSuffix) {
    return {.mode = FileRequest::Mode::Save,
            .title = std::move(title),
            .filter = std::move(filter),
            .filterIndex = 1,
            .initialName = std::move(initialName),
            .defaultSuffix = std::move(defaultSuffix),
            .overwritePrompt = true};
}

}  // namespace aurelant
