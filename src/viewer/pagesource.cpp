#include "viewer/pagesource.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "common/errors.h"
#include "common/htmltext.h"
#include "common/userfile.h"

namespace aurelant {
namespace {

constexpr std::size_t kSniffedBytes = 4096;

bool startsWithNoCase(const std::string& text, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    return text.size() >= length &&
           std::equal(prefix, prefix + length, text.begin(), [](char wanted, char c) {
               return wanted == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
           });
}

// A NUL byte near the start marks a file that is not text.
bool looksBinary(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string start(kSniffedBytes, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    return start.find('\0') != std::string::npos;
}

}  // namespace

AddressKind addressKind(const std::string& address) {
    if (startsWithNoCase(address, "http://") || startsWithNoCase(address, "https://")) {
        return AddressKind::Web;
    }
    return startsWithNoCase(address, "qrc:") ? AddressKind::Resource : AddressKind::LocalFile;
}

std::string localPath(const std::string& address) {
    return startsWithNoCase(address, "file://") ? address.substr(7) : address;
}

std::optional<std::string> localFileProblem(const std::string& path) {
    try {
        requireUserFile(path, Access::Read);
        if (fileSize(path) > kLargestShownPage) {
            return "The file " + path +
                   " is too large to be shown here: this viewer shows pages of "
                   "up to " +
                   std::to_string(kLargestShownPage / 1024) +
                   " KB. Open it in a web browser instead.";
        }
    } catch (const AppError& error) {
        return "The file " + path + " cannot be shown: " + error.description();
    }
    if (looksBinary(path)) {
        return "The file " + path + " is neither an HTML page nor a text file.";
    }
    return std::nullopt;
}

std::string messagePage(const std::string& title, const std::string& text) {
    const std::string heading = escapedHtml(title);
    return "<html><head><title>" + heading + "</title></head><body><h3>" + heading + "</h3><p>" +
           escapedHtml(text) + "</p></body></html>";
}

}  // namespace aurelant
