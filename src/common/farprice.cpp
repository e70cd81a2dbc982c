#include "common/farprice.h"

#include <cmath>

#include "common/numtext.h"

namespace aurelant {
namespace {

constexpr double kLargestPlainMove = 0.5;

}  // namespace

bool farFromLatestClose(double price, double latestClose) {
    return latestClose > 0 && std::abs(price - latestClose) > kLargestPlainMove * latestClose;
}

std::string farPriceQuestion(std::string_view priceName, std::string_view typed, double latestClose,
                             std::string_view action) {
    return "The " + std::string(priceName) + " (" + trimmed(typed) +
           ") differs from the latest Close (" + trimmedNumberText(latestClose) +
           ") by more than half. " + std::string(action) + " all the same?";
}

}  // namespace aurelant
