// State of the runtime frame: the statement hook's counters, the event slots and the error
// state. Filled out by the frame.
#pragma once

#include <cstdint>
#include <source_location>

namespace kestran {

struct FrameState {
    std::source_location currentStatement;  // the game line of the last statement boundary
    int pumpCounter = 0;                    // the pump runs when it is 0, then every 11th boundary
    bool breakPending = false;
    int exitCode = 0;
};

}  // namespace kestran
