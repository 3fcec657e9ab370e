// Event slots and their queue: the break event and the function-key events.
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"

namespace kestran {

bool EventTable::Enqueue(int n) {
    if (queueCount_ == kQueueLimit) return false;
    queue_[static_cast<std::size_t>(queueCount_++)] = static_cast<int16_t>(n);
    return true;
}

void EventTable::RemoveQueuedAt(int i) {
    for (int k = i; k + 1 < queueCount_; ++k) {
        queue_[static_cast<std::size_t>(k)] = queue_[static_cast<std::size_t>(k + 1)];
    }
    --queueCount_;
}

void PbRaiseEvent(Runtime& rt, int slot) {
    auto& events = rt.frame.events;
    if (!EventTable::Valid(slot)) return;
    if (slot == EventTable::kBreak) {
        if (events.Has(slot, EventTable::kEnabled)) events.Set(slot, EventTable::kPending);
        return;
    }
    const auto& s = events.slot(slot);
    if (!s.handler || !events.Has(slot, EventTable::kEnabled) || events.Has(slot, EventTable::kPending)) return;
    if (events.Enqueue(slot)) events.Set(slot, EventTable::kPending);
}

int PbCheckEvents(Runtime& rt) {
    auto& events = rt.frame.events;
    if (events.Has(EventTable::kBreak, EventTable::kEnabled) && events.Has(EventTable::kBreak, EventTable::kPending)) {
        events.Clear(EventTable::kBreak, EventTable::kPending);
        events.ClearQueue();
        PbBreakStop(rt);
    }
    if (events.justDispatched) {
        events.justDispatched = false;
        return 0;
    }
    for (int i = 0; i < events.queued(); ++i) {
        const int slot = events.queuedAt(i);
        if (!events.Has(slot, EventTable::kEnabled) || events.Has(slot, EventTable::kRunning) ||
            !events.Has(slot, EventTable::kPending)) {
            continue;
        }
        // Entered first: a full return table raises its error with the slot still pending.
        rt.returns.Push(slot, rt.frame.currentStatement);
        events.Set(slot, EventTable::kRunning);
        events.Clear(slot, EventTable::kPending);
        events.RemoveQueuedAt(i);
        ++events.dispatched;
        events.justDispatched = true;
        return slot;
    }
    return 0;
}

void PbSetEventHandler(Runtime& rt, int slot, EventTable::Handler handler) {
    auto& events = rt.frame.events;
    if (!EventTable::Valid(slot)) return;
    const bool has = static_cast<bool>(handler);
    events.slot(slot).handler = std::move(handler);
    if (has) {
        events.Set(slot, EventTable::kEnabled);
    } else if (slot != EventTable::kBreak) {
        events.Clear(slot, EventTable::kEnabled);
    }
}

}  // namespace kestran
