// The history-file commands on the largest files they accept, each next to a plain
// line-by-line read of the same file in the same run. The counters give the ratios.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/aurelant.h"
#include "scenario/generated_history.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kLargestOpenable = 32887;
constexpr std::size_t kMostReversible = 1000;
constexpr int kBaselineRepeats = 7;

// A folder of its own for one benchmark, removed afterwards.
class Workspace {
  public:
    explicit Workspace(const std::string& name)
        : folder_(fs::temp_directory_path() /
                  ("aurelant-bench-" + std::to_string(::getpid()) + "-" + name)) {
        fs::create_directories(folder_);
    }
    ~Workspace() { fs::remove_all(folder_); }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string history(std::size_t records) const {
        const std::string path = (folder_ / "prices.csv").string();
        writeGeneratedHistory(path, records);
        return path;
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

  private:
    fs::path folder_;
};

template <typename Work>
double bestSeconds(Work work) {
    double best = 1e9;
    for (int i = 0; i < kBaselineRepeats; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
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

double plainWriteSeconds(const std::string& source, const std::string& target) {
    std::vector<std::string> lines;
    std::ifstream in(source, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return bestSeconds([&] {
        std::ofstream out(target, std::ios::binary);
        for (const std::string& line : lines) {
            out << line << '\n';
        }
    });
}

// The main window model, started up, with a file dialog that answers `path` every time.
class Program {
  public:
    explicit Program(const std::string& path) : path_(path), window_(globals_, platform_) {
        window_.load();
    }

    // Seconds per click of the command, over the benchmark's iterations.
    double run(benchmark::State& state, const std::string& command) {
        double seconds = 0;
        for (auto _ : state) {
            platform_.fileAnswers.assign({path_});
            platform_.transcript.clear();
            const auto start = Clock::now();
            window_.click(command);
            seconds += std::chrono::duration<double>(Clock::now() - start).count();
            benchmark::DoNotOptimize(window_.maintext.text.data());
        }
        return seconds / static_cast<double>(state.iterations());
    }

    Globals& globals() { return globals_; }

  private:
    std::string path_;
    Globals globals_;
    ScriptedPlatform platform_;
    Aurelant window_;
};

void reportRatio(benchmark::State& state, const char* name, double seconds, double baseline) {
    state.counters[name] = benchmark::Counter(seconds / baseline);
}

void BM_Open(benchmark::State& state) {
    const Workspace workspace("open");
    const std::string path = workspace.history(kLargestOpenable);
    const double read = plainReadSeconds(path);
    const double write = plainWriteSeconds(path, workspace.path("copy.csv"));
    Program program(path);
    const double open = program.run(state, "open");
    if (!program.globals().fileopen) {
        state.SkipWithError("the file was not opened");
    }
    reportRatio(state, "x_plain_read", open, read);
    reportRatio(state, "x_3reads_1write", open, 3 * read + write);  // aim: below 4
}

void BM_Reverse(benchmark::State& state) {
    const Workspace workspace("reverse");
    const std::string path = workspace.history(kMostReversible);
    const double read = plainReadSeconds(path);
    Program program(path);
    reportRatio(state, "x_plain_read", program.run(state, "reverse"), read);
}

void BM_Redisplay(benchmark::State& state) {
    const Workspace workspace("redisplay");
    const std::string path = workspace.history(kLargestOpenable);
    const double read = plainReadSeconds(path);
    Program program(path);
    program.globals().fileopen = true;
    program.globals().currentfile = path;
    const double redisplay = program.run(state, "redisplay");
    reportRatio(state, "x_plain_read", redisplay, read);
}

BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reverse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redisplay)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace aurelant

