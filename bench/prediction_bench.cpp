// Prediction runs over the largest file that Open accepts, each next to a plain read of the
// file and a plain write of a file of the same size in the same run. The counters give the
// ratios.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "benchsupport.h"

namespace aurelant::bench {
namespace {

// Only about the last 120 records are commented on the screen, as after Open.
constexpr auto kDisplayFrom = static_cast<std::int16_t>(kLargestOpenable - 120);

void predictionRun(benchmark::State& state, bool movementmode) {
    const Workspace workspace("predict");
    const std::string path = workspace.randomWalkHistory(kLargestOpenable);
    const double read = plainReadSeconds(path);
    const double write = plainWriteSeconds(path, workspace.path("copy.csv"));
    Program program(workspace);
    Globals& globals = program.globals();
    const double run = program.bestClick(state, "PredictImage", [&] {
        globals.fileopen = true;
        globals.currentfile = path;
        globals.displayfrom = kDisplayFrom;
        globals.movementmode = movementmode;
        globals.nextopen = 50;
        program.platform().answers.assign({Answer::Ok});  // the direction-only notice
    });
    if (!globals.predictiondone) {
        state.SkipWithError("the run did not complete");
    }
    reportRatio(state, "x_plain_read", run, read);
    reportRatio(state, "x_read_and_write", run, read + write);  // aim: at most 2
}

void BM_DirectionOnlyRun(benchmark::State& state) {
    predictionRun(state, false);
}

void BM_MovementRun(benchmark::State& state) {
    predictionRun(state, true);
}

BENCHMARK(BM_DirectionOnlyRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovementRun)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace aurelant::bench
