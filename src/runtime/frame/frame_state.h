// State of the runtime frame: the statement hook's counters, the option words, the event slots
// and queue, the error state and the end of the program. One per Runtime.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <source_location>

namespace kestran {

struct Runtime;

// The option words this game's runtime was built with. Only these are read anywhere.
struct BuildOptions {
    int pumpInterval = 10;         // the pump runs on the first statement boundary and every 11th after it
    int clearInputKey = 0;         // option 21: Shift+Home and Clear erase the line being typed
    int hiddenWindow = 0;          // option 26: 1 creates the main window hidden
    int windowWord = 0;            // option 27: a word kept on the main window for window forms
    int refuseWindowGraphics = 0;  // option 28: nonzero refuses drawing on the main window (error 90)
};

// Event slots: 1 is the break (Ctrl+C), 2 to 13 the function keys F1 to F12, 14 mouse movement;
// the others belong to window forms, which this program has none of.
class EventTable {
public:
    using Handler = std::function<void(Runtime&)>;

    static constexpr int kSlotCount = 64;
    static constexpr int kQueueLimit = 49;
    static constexpr int kBreak = 1;
    static constexpr int kFirstFunctionKey = 2;  // F1; F12 is 13

    static constexpr uint16_t kEnabled = 1;
    static constexpr uint16_t kRunning = 2;
    static constexpr uint16_t kPending = 4;

    struct Slot {
        Handler handler;  // empty: events of this slot are dropped (except the break)
        uint16_t flags = 0;
    };

    static constexpr bool Valid(int slot) { return slot >= 0 && slot < kSlotCount; }
    Slot& slot(int n) { return slots_[static_cast<std::size_t>(n)]; }
    const Slot& slot(int n) const { return slots_[static_cast<std::size_t>(n)]; }

    bool Has(int n, uint16_t flag) const { return (slot(n).flags & flag) != 0; }
    void Set(int n, uint16_t flag) { slot(n).flags = static_cast<uint16_t>(slot(n).flags | flag); }
    void Clear(int n, uint16_t flag) { slot(n).flags = static_cast<uint16_t>(slot(n).flags & ~flag); }

    // The queue of pending slots in arrival order.
    int queued() const { return queueCount_; }
    int queuedAt(int i) const { return queue_[static_cast<std::size_t>(i)]; }
    bool Enqueue(int n);
    void RemoveQueuedAt(int i);
    void ClearQueue() { queueCount_ = 0; }

    // Whether the statement hook has anything to look at: the common path of every statement.
    bool Quiet() const { return queueCount_ == 0 && !justDispatched && !Has(kBreak, kPending); }

    int dispatched = 0;           // handlers entered and not yet returned
    bool justDispatched = false;  // the statement right after a dispatch dispatches nothing

private:
    std::array<Slot, kSlotCount> slots_{};
    std::array<int16_t, kQueueLimit> queue_{};
    int queueCount_ = 0;
};

struct ErrorState {
    int lastNumber = 0;      // the last error raised, 0 before any (the help file's topic)
    bool inHandler = false;  // an error trap's handler is running: an error now is fatal
    int reportDepth = 0;     // inside the key wait of the fatal or break report
};

struct FrameState {
    std::source_location currentStatement;  // the game line of the last statement boundary
    int pumpCounter = 0;                    // the pump runs when it is 0, then every 11th boundary
    BuildOptions options;
    EventTable events;
    ErrorState error;
    int exitCode = 0;     // the exit code PbEnd gives
    bool ending = false;  // the end sequence has begun
};

// Whether a handler of an event or of an error trap is running (some operations refuse then).
inline bool InAnyHandler(const FrameState& frame) {
    return frame.events.dispatched > 0 || frame.error.inHandler;
}

}  // namespace kestran
