// The HTML and CSV saves of the prediction data file of a run over the largest file that Open
// accepts, each next to a plain copy (line-by-line read and write) of that data file in the
// same run. The counters give the ratios.
#include <benchmark/benchmark.h>

#include "benchsupport.h"
#include "state/workingfiles.h"

namespace aurelant::bench {
namespace {

void save(benchmark::State& state, const char* command) {
    const Workspace workspace("save");
    Program program(workspace);
    Globals& globals = program.globals();
    globals.fileopen = true;
    globals.currentfile = workspace.randomWalkHistory(kLargestOpenable);
    program.platform().answers.assign({Answer::Ok});  // the direction-only notice
    program.click("PredictImage");
    if (!globals.predictiondone) {
        state.SkipWithError("the prediction did not complete");
        return;
    }
    const std::string dataFile = workspace.folder() + kPredictionDataFile;
    const double copy =
        plainReadSeconds(dataFile) + plainWriteSeconds(dataFile, workspace.path("copy.txt"));
    const std::string target = workspace.path("saved");
    const double seconds = program.bestClick(state, command, [&] {
        program.platform().fileAnswers.assign({target});
        program.platform().answers.assign({Answer::No});  // no view of the HTML page
    });
    reportRatio(state, "x_plain_copy", seconds, copy);  // aim: below 3
}

void BM_HtmlSave(benchmark::State& state) {
    save(state, "htmlsave");
}

void BM_CsvSave(benchmark::State& state) {
    save(state, "csvsave");
}

BENCHMARK(BM_HtmlSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace aurelant::bench
