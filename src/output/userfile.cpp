#include "output/userfile.h"

#include <filesystem>

#include "common/textfile.h"
#include "pricefile/filetools.h"

namespace aurelant {

FileRequest saveModeRequest(std::string title, std::string filter, std::string initialName,
                            std::string defaultSuffix) {
    return {.mode = FileRequest::Mode::Save,
            .title = std::move(title),
            .filter = std::move(filter),
            .filterIndex = 1,
            .initialName = std::move(initialName),
            .defaultSuffix = std::move(defaultSuffix),
            .overwritePrompt = true};
}

void writeUserFile(const std::string& target, const std::function<void(LineWriter&)>& write) {
    std::error_code unknown;  // a target that cannot even be looked at fails when written
    if (std::filesystem::exists(target, unknown)) {
        requireUserFile(target, Access::Write);
    }
    FileReplacement replacement(target);
    write(replacement.writer());
    replacement.commit();
}

}  // namespace aurelant
