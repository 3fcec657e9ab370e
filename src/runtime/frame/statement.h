// The statement boundary: every runtime operation the game calls on the screen or the keyboard
// begins with it.
#pragma once

#include <source_location>

namespace kestran {

struct Runtime;

// Thrown to leave the game from any depth into the end sequence (the game's own end, the
// window closed, the break stop). Not a run-time error: nothing is reported.
struct ProgramEnd {
    int exitCode = 0;
};

// Records the calling game line, pumps the window's events on the first boundary and every
// 11th after it, and runs pending events (the break stop).
void PbStatement(Runtime& rt, std::source_location where = std::source_location::current());

// Raises event `slot`: 1 is the break (Ctrl+C), 2 to 13 the function keys F1 to F12.
void PbRaiseEvent(Runtime& rt, int slot);

// The break stop: the break report, a key wait, then the end of the program.
[[noreturn]] void PbBreakStop(Runtime& rt);

// Ends the program with the given exit code.
[[noreturn]] void PbEnd(Runtime& rt, int exitCode, std::source_location where = std::source_location::current());

}  // namespace kestran
