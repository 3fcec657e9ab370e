// The runtime's random generator state.
#pragma once

#include <cstdint>

namespace kestran {

// One 32-bit seed, 204 at start; changed only by PbRnd and PbRandomize (numbers.h).
struct RandomGenerator {
    static constexpr uint32_t kStartSeed = 204;
    static constexpr uint32_t kMultiplier = 0x7AB34155;  // 2,058,568,021
    static constexpr uint32_t kIncrement = 0x4C19ABE3;   // 1,276,750,819

    uint32_t seed = kStartSeed;

    // One step of the linear congruential generator (modulo 2^32).
    constexpr void Step() { seed = seed * kMultiplier + kIncrement; }
    // Bits 9 to 31 of the seed: the mantissa of the next result.
    constexpr uint32_t Mantissa() const { return (seed >> 9) & 0x7FFFFF; }
};

}  // namespace kestran
