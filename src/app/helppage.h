#pragma once

#include <string>

namespace aurelant {

// The help page shown by About: 52 lines joined by `lineBreak`, none after the last.
std::string helpPageText(const std::string& lineBreak);

}  // namespace aurelant
