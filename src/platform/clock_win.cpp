#include <windows.h>

#include <chrono>

#include "platform/clock.h"

namespace kestran::platform {

LocalTime SystemClock::Now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

int64_t SystemClock::Milliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace kestran::platform
