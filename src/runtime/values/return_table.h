// Subroutine calls: the return table and the guard that screens called as subroutines hold.
#pragma once

#include <array>
#include <source_location>

namespace kestran {

struct Runtime;

// The return table: at most 128 pending subroutine returns.
class ReturnTable {
public:
    static constexpr int kCapacity = 128;

    // Enters a subroutine. `eventSlot` is -1 for a plain call, the event's slot when the
    // statement hook entered an event handler. The 129th entry: error 32 (site 0xB101).
    void Push(int eventSlot = -1, std::source_location where = std::source_location::current());
    // Leaves the innermost subroutine and returns its event slot. Empty: error 3 (0xB201).
    int Pop(std::source_location where = std::source_location::current());

    int depth() const { return depth_; }
    bool empty() const { return depth_ == 0; }

private:
    std::array<int, kCapacity> slots_{};
    int depth_ = 0;
};

// GOSUB as a scope: construction enters the subroutine (error 32 on the 129th) and remembers
// the caller's statement; destruction, by return or by a run-time error passing through,
// leaves it and puts the caller's statement back, so a later error names the caller's line.
class PbGosub {
public:
    explicit PbGosub(Runtime& rt, std::source_location where = std::source_location::current());
    ~PbGosub();
    PbGosub(const PbGosub&) = delete;
    PbGosub& operator=(const PbGosub&) = delete;

private:
    Runtime& rt_;
    std::source_location caller_;
};

}  // namespace kestran
