#include "fuzzsupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace aurelant::fuzz {
namespace {

std::string makeFolder() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/aurelant-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

}  // namespace

Answer FuzzPlatform::message(const MessageRequest& request) {
    switch (request.buttons) {
        case Buttons::OkCancel:
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            break;
    }
    ++questions;
    return answerNo ? Answer::No : Answer::Yes;
}

FuzzSession::FuzzSession() : folder_(makeFolder()), inputPath_(folder_ + "/prices.csv") {}

FuzzSession::~FuzzSession() {
    window_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void FuzzSession::writeInput(const std::uint8_t* data, std::size_t size) const {
    std::ofstream file(inputPath_, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    require(file.good(), "the input file can be written");
}

std::string FuzzSession::readInput() const {
    std::ifstream file(inputPath_, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Aurelant& FuzzSession::windowWithInputOpen() {
    window_.reset();
    platform_.emplace(folder_);
    platform_->chosenFile = inputPath_;
    globals_.emplace();
    window_.emplace(*globals_, *platform_);
    window_->load();
    globals_->fileopen = true;
    globals_->currentfile = inputPath_;
    return *window_;
}

FuzzSession& session() {
    static FuzzSession instance;
    return instance;
}

void require(bool condition, const char* rule) {
    if (!condition) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

}  // namespace aurelant::fuzz
