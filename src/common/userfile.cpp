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

void requireWritableTarget(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        return;  // a new file, or one that cannot even be looked at and fails when written
    }
    if (!S_ISLNK(info.st_mode)) {
        requireUserFile(target, Access::Write);
    } else if (info.st_uid != ::geteuid()) {
        std::error_code unknown;
        const std::string pointsTo = std::filesystem::read_symlink(target, unknown).string();
        throw programError(Failure::NotARegularFile,
                           "\"" + target + "\" is a link to \"" + pointsTo +
                               "\" that another user made; it has not been written through. "
                               "Choose another name");
    }
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
    requireWritableTarget(target);
    FileReplacement replacement(target, LinkAtTarget::Replace);
    write(replacement.writer());
    replacement.commit();
}

}  // namespace aurelant
