#pragma once

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/dayorder.h"
#include "predict/predictiontable.h"

namespace aurelant {

// What `aurelant predict` was asked to do.
struct PredictOptions {
    std::optional<double> open;
    const TableFormat* format = tableFormats().data();
    unsigned jobs = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::string> files;
    bool help = false;
    bool localeDayFirst = localeWritesDayFirst();
};

// Takes the arguments after "predict" into `options`; returns the mistake among them, if any.
std::optional<std::string> parsePredictArguments(const std::vector<std::string>& arguments,
                                                 PredictOptions& options);

// `aurelant predict [--open PRICE] [--format report|csv|json] [--jobs N] FILE...`: the next
// day's prediction for each file, without a window and without writing any file. `arguments`
// are those after "predict". Returns the exit status: 0 when every file was predicted, 1 when
// some were refused (each named on `errors`), 2 for a usage error.
int runPredictCommand(const std::vector<std::string>& arguments, std::FILE* output,
                      std::FILE* errors);

// The sub-command's --help, and its usage line for the program's --help.
std::string predictUsage();
std::string predictSynopsis();

}  // namespace aurelant
