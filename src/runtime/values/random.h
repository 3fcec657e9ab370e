#pragma once

#include <cstdint>

namespace kestran {

// The runtime's random generator: seed 204 at start.
struct RandomGenerator {
    uint32_t seed = 204;
};

}  // namespace kestran
