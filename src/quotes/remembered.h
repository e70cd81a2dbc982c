#pragma once

#include <optional>
#include <string>

#include "quotes/source.h"

// What the update remembers between runs: each file's source, and the providers' keys.
namespace aurelant::quotes {

// A file's source is kept beside it, in the file ".aurelant-sources" of its folder: one line a
// file, its name, a TAB and the source, so that the sources travel with the folder.
inline constexpr const char* kSourcesFileName = ".aurelant-sources";

std::optional<Source> rememberedSource(const std::string& path);
// Throws AppError when the folder's sources file cannot be written.
void rememberSource(const std::string& path, const Source& source);

// The provider's key: AURELANT_ALPHAVANTAGE_KEY when it is set, else the one kept in the
// settings file (see keysFile); empty when there is none.
std::string providerKey(Provider provider);
// Keeps a key in the settings file, which only the user may read. Throws AppError.
void rememberKey(Provider provider, const std::string& key);
// $XDG_CONFIG_HOME/aurelant/keys, or ~/.config/aurelant/keys.
std::string keysFile();

}  // namespace aurelant::quotes
