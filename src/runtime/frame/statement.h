// The statement boundary: every runtime operation the game calls on the screen or the keyboard
// begins with it. It records the calling game line, keeps the window alive (the message pump
// every 11th boundary) and runs pending events, the break stop among them.
#pragma once

#include <source_location>

#include "runtime/frame/frame_state.h"

namespace kestran {

struct Runtime;

// Thrown to leave the game from any depth into the end sequence (the game's own end, the
// window closed, the break stop). Not a run-time error: nothing is reported.
struct ProgramEnd {
    int exitCode = 0;
    bool byGame = false;  // the game's own end (PbEnd), not the window or the break
};

// Records the calling game line, pumps the window's events on the first boundary and every
// 11th after it, and runs pending events (the break stop, event handlers).
void PbStatement(Runtime& rt, std::source_location where = std::source_location::current());

// Hands every waiting window event to the console. False when the window was closed: the
// caller ends the program.
bool PbPumpMessages(Runtime& rt);

// Raises event `slot`: 1 is the break (Ctrl+C), 2 to 13 the function keys F1 to F12. An event
// whose slot has no handler, is disabled or already pending, or that finds the queue full
// (49 events) is lost.
void PbRaiseEvent(Runtime& rt, int slot);

// The event to run now: runs the break stop when the break is pending; otherwise takes the
// first queued event that may run, marks it running, enters it in the return table and gives
// its slot, or gives 0.
int PbCheckEvents(Runtime& rt);

// Installs the handler of an event slot and enables the slot (an empty handler removes it).
// The game installs none; window forms would, and so do tests of the event machinery.
void PbSetEventHandler(Runtime& rt, int slot, EventTable::Handler handler);

// The break stop: the break report, a key wait, then the end of the program.
[[noreturn]] void PbBreakStop(Runtime& rt);

// Ends the program with the given exit code.
[[noreturn]] void PbEnd(Runtime& rt, int exitCode, std::source_location where = std::source_location::current());

}  // namespace kestran
