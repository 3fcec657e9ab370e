#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace kestran::platform {

LocalTime SystemClock::Now() const {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int64_t SystemClock::Milliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace kestran::platform
