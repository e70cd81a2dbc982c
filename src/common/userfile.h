#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Checks on the files a user names, and writing them safely.
namespace aurelant {

class LineWriter;

enum class Access { Read, Write, ReadWrite };

// Throws AppError unless the path names an existing plain file (not a folder, device or pipe)
// that this user may read, write or both, as asked.
void requireUserFile(const std::string& path, Access access);

// The file's size in bytes; throws AppError when it cannot be learnt.
std::uintmax_t fileSize(const std::string& path);

// Writes a file the user named, whole or not at all: the content goes into a temporary file
// beside the target, which replaces the target only once everything is written. A target that
// exists must be a plain file this user may write, or a link of this user's own, which the new
// file replaces. A link another user put there (in a shared folder, say) is refused with what
// it points to, never written through. Throws AppError; on failure the target is as it was and
// no partial file is left behind.
void writeUserFile(const std::string& target, const std::function<void(LineWriter&)>& write);

}  // namespace aurelant
