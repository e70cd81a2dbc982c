#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace aurelant {

// `aurelant update [--source SOURCE] [--dry-run] [--jobs N] FILE...`: appends to each file the days
// its source has after its latest one. `arguments` are those after "update". Returns the exit
// status: 0 when every file is up to date, 1 when some failed (each named on `errors`), 2 for a
// mistake on the command line.
int runUpdateCommand(const std::vector<std::string>& arguments, std::FILE* output,
                     std::FILE* errors);

// The sub-command's --help, and its usage line for the program's --help.
std::string updateUsage();
std::string updateSynopsis();

}  // namespace aurelant
