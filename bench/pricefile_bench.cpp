// The history-file commands on the largest files they accept, each next to a plain
// line-by-line read of the same file in the same run. The counters give the ratios.
#include <benchmark/benchmark.h>

#include "benchsupport.h"

namespace aurelant::bench {
namespace {

constexpr std::size_t kMostReversible = 1000;

// Seconds of the command on the file, the file dialog answering `path` every time.
double bestClickOn(Program& program, benchmark::State& state, const std::string& command,
                   const std::string& path) {
    return program.bestClick(state, command,
                             [&] { program.platform().fileAnswers.assign({path}); });
}

void BM_Open(benchmark::State& state) {
    const Workspace workspace("open");
    const std::string path = workspace.history(kLargestOpenable);
    const double read = plainReadSeconds(path);
    // Open flushes the rewritten file to the disk before it replaces the original.
    const double write = plainWriteSeconds(path, workspace.path("copy.csv"), true);
    Program program(workspace);
    const double open = bestClickOn(program, state, "open", path);
    if (!program.globals().fileopen) {
        state.SkipWithError("the file was not opened");
    }
    reportRatio(state, "x_plain_read", open, read);
    reportRatio(state, "x_3reads_1write", open, 3 * read + write);  // aim: at most 1.5
}

void BM_Reverse(benchmark::State& state) {
    const Workspace workspace("reverse");
    const std::string path = workspace.history(kMostReversible);
    const double read = plainReadSeconds(path);
    Program program(workspace);
    reportRatio(state, "x_plain_read", bestClickOn(program, state, "reverse", path), read);
}

void BM_Redisplay(benchmark::State& state) {
    const Workspace workspace("redisplay");
    const std::string path = workspace.history(kLargestOpenable);
    const double read = plainReadSeconds(path);
    Program program(workspace);
    program.globals().fileopen = true;
    program.globals().currentfile = path;
    reportRatio(state, "x_plain_read", bestClickOn(program, state, "redisplay", path),
                read);  // aim: at most 1.5
}

BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reverse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redisplay)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace aurelant::bench
