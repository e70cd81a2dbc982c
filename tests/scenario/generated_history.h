#pragma once

#include <cstddef>
#include <string>

namespace aurelant {

// Writes a history file of `count` daily records, one a calendar day from 01-Jan-2000 on, as
// "dd-mmm-yyyy,Open,High,Low,Close" lines ended by CR LF. Scenarios and benchmarks use it.
void writeGeneratedHistory(const std::string& path, std::size_t count);

// The same layout with prices that wander: each day closes up to 2 % away from its Open (the
// previous Close), except every 97th day, which closes at its Open; prices have two decimals.
// The same file every time, so that benchmarks of the prediction compare like with like.
void writeRandomWalkHistory(const std::string& path, std::size_t count);

}  // namespace aurelant
