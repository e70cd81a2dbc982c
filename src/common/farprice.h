#pragma once

#include <string>
#include <string_view>

namespace aurelant {

// Whether a typed price lies more than half away from the latest Close: more likely a slip of
// the decimal point than a move, so the user is asked before it is used. Never with no Close.
bool farFromLatestClose(double price, double latestClose);

// The question about such a price, `typed` as the user wrote it: "The Open (5.2) differs from
// the latest Close (52) by more than half. Predict with it all the same?"
std::string farPriceQuestion(std::string_view priceName, std::string_view typed, double latestClose,
                             std::string_view action);

}  // namespace aurelant
