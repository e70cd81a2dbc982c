#pragma once

#include <cstddef>
#include <string>

namespace aurelant {

// Writes a history file of `count` daily records, one a calendar day from 01-Jan-2000 on, as
// "dd-mmm-yyyy,Open,High,Low,Close" lines ended by CR LF. Scenarios and benchmarks use it.
void writeGeneratedHistory(const std::string& path, std::size_t count);

}  // namespace aurelant
