#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace aurelant {

// `aurelant predict [--open PRICE] [--format report|csv|json] [--jobs N] FILE...`: the next
// day's prediction for each file, without a window and without writing any file. `arguments`
// are those after "predict". Returns the exit status: 0 when every file was predicted, 1 when
// some were refused (each named on `errors`), 2 for a usage error.
int runPredictCommand(const std::vector<std::string>& arguments, std::FILE* output,
                      std::FILE* errors);

// The sub-command's lines of the program's --help.
std::string predictUsage();

}  // namespace aurelant
