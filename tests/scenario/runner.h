#pragma once

#include <iosfwd>
#include <string>

namespace aurelant {

// Runs a scenario script against the program's core in the current directory, which is also
// the program folder. Writes the transcript to `out` and script errors to `err`; returns the
// exit status (0 when the script ran to its end). Statements beyond the contract's set:
// `generate NAME COUNT` writes a history file of COUNT generated daily records (for files too
// long to spell out), `remove NAME` deletes a file (one that vanishes after it was opened),
// `printer cancel` / `printer fail TEXT` make the next print job end that way,
// `filelimit BYTES` makes the next click's writes fail part-way, as on a full disk, and
// `show chart` prints the price chart's model in lines that begin with "chart ".
int runScenario(const std::string& scriptPath, std::ostream& out, std::ostream& err);

}  // namespace aurelant
