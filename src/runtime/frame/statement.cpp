#include "runtime/frame/statement.h"

#include "runtime/runtime.h"

namespace kestran {

namespace {

// Leaves an event handler however it ends: its return entry goes, its slot may run again and
// the interrupted statement is current again.
class EventHandlerReturn {
public:
    EventHandlerReturn(Runtime& rt, int slot)
        : rt_(rt), slot_(slot), depth_(rt.returns.depth()), interrupted_(rt.frame.currentStatement) {}
    ~EventHandlerReturn() {
        if (rt_.returns.depth() >= depth_ && !rt_.returns.empty()) rt_.returns.Pop();
        auto& events = rt_.frame.events;
        events.Clear(slot_, EventTable::kRunning);
        --events.dispatched;
        events.justDispatched = false;
        rt_.frame.currentStatement = interrupted_;
    }
    EventHandlerReturn(const EventHandlerReturn&) = delete;
    EventHandlerReturn& operator=(const EventHandlerReturn&) = delete;

private:
    Runtime& rt_;
    int slot_;
    int depth_;  // the table's depth with the handler's entry in it
    std::source_location interrupted_;
};

void RunEvent(Runtime& rt, int slot) {
    EventHandlerReturn leave(rt, slot);
    // Copied: the handler may replace itself.
    auto handler = rt.frame.events.slot(slot).handler;
    if (handler) handler(rt);
}

}  // namespace

void PbStatement(Runtime& rt, std::source_location where) {
    auto& frame = rt.frame;
    frame.currentStatement = where;
    if (frame.pumpCounter == 0) {
        frame.pumpCounter = frame.options.pumpInterval;
        if (!PbPumpMessages(rt)) throw ProgramEnd{frame.exitCode};
    } else {
        --frame.pumpCounter;
    }
    if (frame.events.Quiet()) return;
    if (const int slot = PbCheckEvents(rt)) RunEvent(rt, slot);
}

bool PbPumpMessages(Runtime& rt) {
    auto* window = rt.platform.window;
    if (!window) return true;
    platform::Event event;
    while (window->PollEvent(event)) {
        if (event.kind == platform::Event::Kind::Close) return false;
        rt.console.HandleEvent(rt, event);
    }
    return true;
}

void PbEnd(Runtime& rt, int exitCode, std::source_location where) {
    rt.frame.currentStatement = where;
    rt.frame.exitCode = exitCode;
    rt.frame.ending = true;
    throw ProgramEnd{exitCode, true};
}

}  // namespace kestran
