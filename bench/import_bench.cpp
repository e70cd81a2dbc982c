// The import of the largest file it accepts, in a layout of a quote service (";", decimal
// commas, day-first dates, a header), next to a plain read and write of the same file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

#include "benchsupport.h"
#include "common/dates.h"
#include "common/textfile.h"
#include "import/recognition.h"
#include "pricefile/importcommand.h"

namespace aurelant::bench {
namespace {

// The generated history rewritten as a German quote service writes it.
std::string foreignLayoutCopy(const Workspace& workspace) {
    const std::string source = workspace.history(kLargestOpenable);
    const std::string target = workspace.path("boerse.csv");
    LineReader reader(source);
    LineWriter writer(target);
    writer.writeLine(
        "Datum;Er\xC3\xB6"
        "ffnung;Hoch;Tief;Schlusskurs");
    for (std::string line; reader.next(line);) {
        const std::size_t dateEnd = line.find(',');
        const auto date = parseDate(line.substr(0, dateEnd));
        char day[16];
        std::snprintf(day, sizeof day, "%02d.%02d.%04d", date->day, date->month, date->year);
        std::string prices = line.substr(dateEnd);
        for (char& c : prices) {
            c = c == ',' ? ';' : c == '.' ? ',' : c;
        }
        writer.writeLine(day + prices);
    }
    writer.close();
    return target;
}

void BM_Import(benchmark::State& state) {
    const Workspace workspace("import");
    const std::string path = foreignLayoutCopy(workspace);
    const double plain =
        plainReadSeconds(path) + plainWriteSeconds(path, workspace.path("copy.csv"), true);
    const std::string target = workspace.path("boerse-daily.csv");
    double best = 1e9;
    for (auto _ : state) {
        best = std::min(best, bestSeconds([&] {
                            writeDailyRecords(target, import::recognise(readWholeFile(path)));
                        }));
    }
    reportRatio(state, "x_read_and_write", best, plain);  // aim: at most 3
}

BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace aurelant::bench
