// Keyboard input: the one-key wait and the one-character input every menu uses.
#pragma once

#include <source_location>

#include "runtime/values/sjis.h"

namespace kestran {

struct Runtime;

enum class KeyWait {
    BreakOnCtrlC,  // a Ctrl+C read from the ring runs the break stop when the break is armed
    Plain,         // every code is returned (the break report's own wait)
};

// Whether Ctrl+C stops the program now: the break event is enabled and its handling not held.
bool BreakArmed(const Runtime& rt);

// The next key code from the ring, waiting for the window's events while it is empty. The
// frame is presented before every wait. Closing the window ends the program (ProgramEnd).
int WaitKey(Runtime& rt, KeyWait mode = KeyWait::BreakOnCtrlC);

// INPUT$(n): waits for n keys and returns their codes, without echo. The Delete key reads as
// 127; Ctrl+C is not stored. n negative: error 5. No window: error 1000.
PbString PbInputChars(Runtime& rt, double n, std::source_location where = std::source_location::current());

}  // namespace kestran
