#include <filesystem>
#include <iostream>
#include <string>

#include "scenario/runner.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::string script;
    std::string work;
    bool usable = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--work" && i + 1 < argc) {
            work = argv[++i];
        } else {
            usable = usable && script.empty();
            script = argument;
        }
    }
    if (!usable || script.empty()) {
        std::cerr << "usage: aurelant-scenario SCRIPT [--work DIR]\n";
        return 1;
    }
    std::error_code error;
    const fs::path scriptPath = fs::absolute(script, error);
    if (work.empty()) {
        const fs::path base = fs::temp_directory_path() / "aurelant-scenario-XXXXXX";
        std::string pattern = base.string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::cerr << "error: 0: cannot create a work folder\n";
            return 1;
        }
        work = pattern;
    }
    fs::create_directories(work, error);
    fs::current_path(work, error);
    if (error) {
        std::cerr << "error: 0: cannot use the work folder " << work << ": " << error.message()
                  << "\n";
        return 1;
    }
    return aurelant::runScenario(scriptPath.string(), std::cout, std::cerr);
}
