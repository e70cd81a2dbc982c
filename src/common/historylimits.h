#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// How much of a history file the program reads, and how much it needs.
namespace aurelant {

// A prediction needs at least this many records.
inline constexpr std::size_t kFewestRecords = 5;

// The line whose look decides whether a file holds price data (the fourth, or the last of a
// shorter file): lines above it may be headings.
inline constexpr std::size_t kSampleLine = 4;

// How many records a preview shows before it keeps only the first and last 60.
inline constexpr std::size_t kPreviewLimit = 120;

// The most records whose excess over the preview still fits the 16-bit `displayfrom`.
inline constexpr std::size_t kMostHistoryRecords =
    kPreviewLimit + static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max());

}  // namespace aurelant
