#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Sixteen bytes of a text side by side, compared all at once where the processor can: for the
// looks that Open takes at every line of a file. A comparison gives 0xFF in each lane where it
// holds and 0 elsewhere.
namespace aurelant {

using ByteLanes = unsigned char __attribute__((vector_size(16)));

inline constexpr std::size_t kLaneCount = sizeof(ByteLanes);

// The sixteen bytes from `bytes` on.
inline ByteLanes lanesAt(const char* bytes) {
    ByteLanes lanes;
    std::memcpy(&lanes, bytes, sizeof lanes);
    return lanes;
}

inline bool anyLane(ByteLanes lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// The first lane that holds a nonzero byte; kLaneCount where none does.
inline std::size_t firstLane(ByteLanes lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    if (halves[0] != 0) {
        return static_cast<std::size_t>(std::countr_zero(halves[0])) / 8;
    }
    return halves[1] != 0
               ? sizeof halves[0] + static_cast<std::size_t>(std::countr_zero(halves[1])) / 8
               : kLaneCount;
}

}  // namespace aurelant
