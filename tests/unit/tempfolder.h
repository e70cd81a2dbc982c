#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace aurelant {

// A test with a fresh folder of its own, removed with everything in it afterwards.
class TempFolderTest : public ::testing::Test {
  protected:
    TempFolderTest() {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::all);
    }
    ~TempFolderTest() override {
        // Folders a test made read-only must be opened again, or their files cannot go.
        namespace fs = std::filesystem;
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(folder, ignored);
    }

    // Writes NAME (and its folders) in the test's folder with MODE; returns its path.
    std::string write(const std::string& name, const std::string& content, int mode = 0666) const {
        const std::filesystem::path path = folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        ::chmod(path.c_str(), static_cast<mode_t>(mode));
        return path.string();
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t entries(const std::filesystem::path& where = {}) const {
        const auto first = std::filesystem::directory_iterator(where.empty() ? folder : where);
        return static_cast<std::size_t>(std::distance(first, {}));
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("aurelant-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

}  // namespace aurelant
