#include "common/userfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "common/errors.h"
#include "common/textfile.h"

namespace aurelant {
namespace {

struct stat statusOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw systemError(errno, path);
    }
    return info;
}

}  // namespace

void requireUserFile(const std::string& path, Access access) {
    if (!S_ISREG(statusOf(path).st_mode)) {
        throw notARegularFile(path);
    }
    const int mode = access == Access::Read ? R_OK : access == Access::Write ? W_OK : R_OK | W_OK;
    if (::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) != 0) {
        throw systemError(errno, path);
    }
}

std::uintmax_t fileSize(const std::string& path) {
    return static_cast<std::uintmax_t>(statusOf(path).st_size);
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
