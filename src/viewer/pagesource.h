#pragma once

#include <cstdint>
#include <optional>
#include <string>

// How the viewer gets at an address: over the network, from its own pages, or as a local file,
// and the pages it shows instead of one it cannot show.
namespace aurelant {

enum class AddressKind { Web, Resource, LocalFile };

AddressKind addressKind(const std::string& address);

// The file's path for a local address ("file://" taken off), the address itself otherwise.
std::string localPath(const std::string& address);

// The display lays a page's tables out at once, which takes seconds for a saved prediction of
// some thousand days; the viewer declines larger pages rather than keep the user waiting.
inline constexpr std::uintmax_t kLargestShownPage = 512 * 1024;

// Why a local file cannot be shown (missing, unreadable, a folder, binary, too large), or
// nothing when it can.
std::optional<std::string> localFileProblem(const std::string& path);

// A small page that shows `text` under the heading `title`, both escaped.
std::string messagePage(const std::string& title, const std::string& text);

inline constexpr const char* kCannotShowTitle = "The page cannot be shown";

}  // namespace aurelant
