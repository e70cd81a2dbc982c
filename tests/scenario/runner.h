#pragma once

#include <iosfwd>
#include <string>

namespace aurelant {

// Runs a scenario script against the program's core in the current directory, which is also
// the program folder. Writes the transcript to `out` and script errors to `err`; returns the
// exit status (0 when the script ran to its end).
int runScenario(const std::string& scriptPath, std::ostream& out, std::ostream& err);

}  // namespace aurelant
