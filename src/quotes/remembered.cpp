#include "quotes/remembered.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "common/errors.h"
#include "common/textfile.h"
#include "common/userfile.h"

namespace aurelant::quotes {
namespace {

namespace fs = std::filesystem;

// The "NAME<TAB>VALUE" lines of a small file, or none when it cannot be read.
std::map<std::string, std::string> readPairs(const std::string& path, char between) {
    std::map<std::string, std::string> pairs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t split = line.find(between);
        if (split != std::string::npos && split > 0) {
            pairs[line.substr(0, split)] = line.substr(split + 1);
        }
    }
    return pairs;
}

void writePairs(const std::string& path, const std::map<std::string, std::string>& pairs,
                char between) {
    writeUserFile(path, [&](LineWriter& writer) {
        for (const auto& [name, value] : pairs) {
            writer.writeLine(name + between + value);
        }
    });
}

std::string sourcesFileOf(const std::string& path) {
    return (fs::absolute(path).parent_path() / kSourcesFileName).string();
}

std::string keyName(Provider provider) {
    return std::string(providerName(provider)) + ".key";
}

}  // namespace

std::optional<Source> rememberedSource(const std::string& path) {
    const auto pairs = readPairs(sourcesFileOf(path), '\t');
    const auto found = pairs.find(fs::path(path).filename().string());
    return found == pairs.end() ? std::nullopt : parseSource(found->second);
}

void rememberSource(const std::string& path, const Source& source) {
    const std::string book = sourcesFileOf(path);
    auto pairs = readPairs(book, '\t');
    pairs[fs::path(path).filename().string()] = source.text();
    writePairs(book, pairs, '\t');
}

std::string keysFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const fs::path folder = config != nullptr && *config != '\0'
                                ? fs::path(config)
                                : fs::path(home != nullptr ? home : ".") / ".config";
    return (folder / "aurelant" / "keys").string();
}

std::string providerKey(Provider provider) {
    if (provider != Provider::AlphaVantage) {
        return {};
    }
    if (const char* key = std::getenv("AURELANT_ALPHAVANTAGE_KEY");
        key != nullptr && *key != '\0') {
        return key;
    }
    const auto pairs = readPairs(keysFile(), '=');
    const auto found = pairs.find(keyName(provider));
    return found == pairs.end() ? std::string() : found->second;
}

void rememberKey(Provider provider, const std::string& key) {
    const std::string path = keysFile();
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    // The replacement keeps the file's permissions: it is made readable by the user alone first.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        const int failure = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        throw systemError(failure, path);
    }
    ::close(fd);
    auto pairs = readPairs(path, '=');
    pairs[keyName(provider)] = key;
    writePairs(path, pairs, '=');
}

}  // namespace aurelant::quotes
