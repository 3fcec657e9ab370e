// Time of day: the only clock the runtime and the game see.
#pragma once

#include <cstdint>

namespace kestran::platform {

struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // Milliseconds from an arbitrary start, never going back (the pace of a watched replay).
    virtual int64_t Milliseconds() const = 0;
};

// The system's local time.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
    int64_t Milliseconds() const override;
};

// A clock that stands still at a given time (tests, reproducible runs) until it is moved on.
class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime t) : time_(t) {}
    LocalTime Now() const override { return time_; }
    int64_t Milliseconds() const override { return milliseconds_; }
    void Set(LocalTime t) { time_ = t; }
    void Advance(int64_t milliseconds) { milliseconds_ += milliseconds; }

private:
    LocalTime time_;
    int64_t milliseconds_ = 0;
};

}  // namespace kestran::platform
