// Time of day: the only clock the runtime and the game see.
#pragma once

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
};

// The system's local time.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

// A clock that stands still at a given time (tests, reproducible runs).
class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime t) : time_(t) {}
    LocalTime Now() const override { return time_; }
    void Set(LocalTime t) { time_ = t; }

private:
    LocalTime time_;
};

}  // namespace kestran::platform
