#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "app/aurelant.h"
#include "common/dates.h"
#include "common/textfile.h"
#include "predict/predictionrun.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

namespace fs = std::filesystem;

// The largest history file that Open accepts.
constexpr int kRecords = 32887;

// A history file of a random walk of daily prices, with the odd day that closes at its Open,
// in a folder of its own for as long as the benchmarks run.
struct BenchFiles {
    BenchFiles()
        : folder(fs::temp_directory_path() / ("aurelant-bench-" + std::to_string(::getpid()))),
          history((folder / "history.csv").string()) {
        fs::create_directories(folder);
        LineWriter writer(history, LineWriter::Mode::Replace);
        std::mt19937 random(4);
        std::uniform_real_distribution<double> move(-0.02, 0.02);
        double open = 50;
        char line[128];
        for (int day = 0; day < kRecords; ++day) {
            const double close = day % 97 == 0 ? open : open * (1 + move(random));
            const double high = std::max(open, close) * 1.01;
            const double low = std::min(open, close) * 0.99;
            std::snprintf(line, sizeof line, ",%.2f,%.2f,%.2f,%.2f", open, high, low, close);
            writer.writeLine(formatDate(dateFromNumber(20000 + day)) + line);
            open = close;
        }
        writer.close();
    }
    ~BenchFiles() { fs::remove_all(folder); }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

    fs::path folder;
    std::string history;
};

const BenchFiles& benchFiles() {
    static const BenchFiles files;
    return files;
}

// Streams the history file through and writes a copy: the floor that a run cannot beat.
void readAndWrite() {
    const BenchFiles& files = benchFiles();
    LineReader reader(files.history);
    LineWriter writer((files.folder / "copy.csv").string(), LineWriter::Mode::Replace);
    std::string line;
    while (reader.next(line)) {
        writer.writeLine(line);
    }
    writer.close();
}

double secondsOf(void (*work)()) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of a few plain read-and-write passes, measured once.
double readAndWriteSeconds() {
    static const double best = [] {
        double fastest = secondsOf(readAndWrite);
        for (int pass = 0; pass < 4; ++pass) {
            fastest = std::min(fastest, secondsOf(readAndWrite));
        }
        return fastest;
    }();
    return best;
}

void BM_PlainReadAndWrite(benchmark::State& state) {
    for (auto _ : state) {
        readAndWrite();
    }
}
BENCHMARK(BM_PlainReadAndWrite)->Unit(benchmark::kMillisecond);

// One prediction run over the file; the counter is its best time over the best plain
// read-and-write.
void predictionRun(benchmark::State& state, bool movementmode) {
    const BenchFiles& files = benchFiles();
    Globals globals;
    ScriptedPlatform platform;
    platform.folder = files.folder.string();
    Aurelant window(globals, platform);
    window.load();
    double best = 0;
    for (auto _ : state) {
        globals.fileopen = true;
        globals.currentfile = files.history;
        globals.displayfrom = kRecords - 120;
        globals.movementmode = movementmode;
        globals.nextopen = 50;
        platform.answers.push_back(Answer::Ok);
        platform.transcript.clear();
        const auto start = std::chrono::steady_clock::now();
        runPrediction(window);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = best == 0 ? seconds : std::min(best, seconds);
        if (!globals.predictiondone) {
            state.SkipWithError("the run did not complete");
            break;
        }
    }
    state.counters["times_read_and_write"] = best / readAndWriteSeconds();
}

void BM_DirectionOnlyRun(benchmark::State& state) {
    predictionRun(state, false);
}
BENCHMARK(BM_DirectionOnlyRun)->Unit(benchmark::kMillisecond);

void BM_MovementRun(benchmark::State& state) {
    predictionRun(state, true);
}
BENCHMARK(BM_MovementRun)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace aurelant

