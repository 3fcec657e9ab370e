#include "runtime/frame/statement.h"

#include "runtime/runtime.h"

namespace kestran {

namespace {
constexpr int kPumpInterval = 10;

// Hands every waiting window event to the console; the window's close request ends the run.
void PumpMessages(Runtime& rt) {
    auto* window = rt.platform.window;
    if (!window) return;
    platform::Event event;
    while (window->PollEvent(event)) {
        if (event.kind == platform::Event::Kind::Close) throw ProgramEnd{rt.frame.exitCode};
        rt.console.HandleEvent(rt, event);
    }
}
}  // namespace

void PbStatement(Runtime& rt, std::source_location where) {
    rt.frame.currentStatement = where;
    if (rt.frame.pumpCounter == 0) {
        rt.frame.pumpCounter = kPumpInterval;
        PumpMessages(rt);
    } else {
        --rt.frame.pumpCounter;
    }
    if (rt.frame.breakPending) {
        rt.frame.breakPending = false;
        PbBreakStop(rt);
    }
}

void PbRaiseEvent(Runtime& rt, int slot) {
    if (slot == 1) rt.frame.breakPending = true;
}

void PbBreakStop(Runtime& rt) { throw ProgramEnd{rt.frame.exitCode}; }

void PbEnd(Runtime& rt, int exitCode, std::source_location where) {
    rt.frame.currentStatement = where;
    rt.frame.exitCode = exitCode;
    throw ProgramEnd{exitCode};
}

}  // namespace kestran
