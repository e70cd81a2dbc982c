#include "benchsupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <vector>

#include "scenario/generated_history.h"

namespace aurelant::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBaselineRepeats = 7;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

Workspace::Workspace(const std::string& name)
    : folder_(fs::temp_directory_path() /
              ("aurelant-bench-" + std::to_string(::getpid()) + "-" + name)) {
    fs::create_directories(folder_);
}

Workspace::~Workspace() {
    fs::remove_all(folder_);
}

std::string Workspace::history(std::size_t records) const {
    const std::string file = path("prices.csv");
    writeGeneratedHistory(file, records);
    return file;
}

std::string Workspace::randomWalkHistory(std::size_t records) const {
    const std::string file = path("walk.csv");
    writeRandomWalkHistory(file, records);
    return file;
}

std::string Workspace::path(const std::string& name) const {
    return (folder_ / name).string();
}

double bestSeconds(const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < kBaselineRepeats; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, secondsSince(start));
    }
    return best;
}

double plainReadSeconds(const std::string& path) {
    return bestSeconds([&path] {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::size_t characters = 0;
        while (std::getline(in, line)) {
            characters += line.size();
        }
        benchmark::DoNotOptimize(characters);
    });
}

double plainWriteSeconds(const std::string& source, const std::string& target, bool toDisk) {
    std::vector<std::string> lines;
    std::ifstream in(source, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return bestSeconds([&] {
        {
            std::ofstream out(target, std::ios::binary);
            for (const std::string& line : lines) {
                out << line << '\n';
            }
        }
        if (toDisk) {
            const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::fsync(fd));
            ::close(fd);
        }
    });
}

Program::Program(const Workspace& workspace) : window_(globals_, platform_) {
    platform_.folder = workspace.folder();
    window_.load();
}

double Program::bestClick(benchmark::State& state, const std::string& command,
                          const std::function<void()>& prepare) {
    double best = 1e9;
    for (auto _ : state) {
        prepare();
        platform_.transcript.clear();
        const auto start = Clock::now();
        window_.click(command);
        best = std::min(best, secondsSince(start));
        benchmark::DoNotOptimize(window_.maintext.text.data());
    }
    return best;
}

void reportRatio(benchmark::State& state, const char* name, double seconds, double baseline) {
    state.counters[name] = benchmark::Counter(seconds / baseline);
}

}  // namespace aurelant::bench
