#include "runtime/values/numbers.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/number_scan.h"

namespace kestran {

namespace {

// Rounds half away from zero to a whole double; `site` when out of [lo, hi] or not a number.
double RoundChecked(double x, double lo, double hi, uint32_t site, std::source_location where) {
    double r = RoundHalfAwayFromZero(x);
    if (!(r >= lo && r <= hi)) PbRaiseError(6, site, where);
    return r;
}

// A double's conversion to single without the undefined out-of-range cast.
float ToSingleBits(double x) {
    if (std::isnan(x)) return std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    if (std::fabs(x) >= kSingleOverflow) return std::signbit(x) ? -kInf : kInf;
    return static_cast<float>(x);
}

}  // namespace

double RoundHalfAwayFromZero(double x) {
    // From 2^52 up every double is whole; below it x - trunc(x) is exact, so the half is exact.
    constexpr double kAllWhole = 4503599627370496.0;
    if (!(std::fabs(x) < kAllWhole)) return x;
    const double whole = std::trunc(x);
    return std::fabs(x - whole) >= 0.5 ? whole + std::copysign(1.0, x) : whole;
}

int32_t PbToLong(double x, std::source_location where) {
    return static_cast<int32_t>(RoundChecked(x, -2147483648.0, 2147483647.0, 0xE401, where));
}

int16_t PbToShort(double x, std::source_location where) {
    return static_cast<int16_t>(RoundChecked(x, -32768.0, 32767.0, 0xE301, where));
}

double PbInt(double x) {
    return std::floor(x);
}

double PbCheckFloat(double x, std::source_location where) {
    if (std::isnan(x)) PbRaiseError(5, 0xE001, where);
    if (std::isinf(x)) PbRaiseError(6, 0xE003, where);
    return x;
}

float PbStore(double x, std::source_location where) {
    PbCheckFloat(x, where);
    if (std::fabs(x) >= kSingleOverflow) PbRaiseError(6, 0xE003, where);
    return static_cast<float>(x);
}

double PbDivide(double a, double b, std::source_location where) {
    PbCheckFloat(a, where);
    PbCheckFloat(b, where);
    if (b == 0) {
        if (a == 0) PbRaiseError(5, 0xE001, where);
        PbRaiseError(11, 0xE002, where);
    }
    return PbCheckFloat(a / b, where);
}

float PbRnd(Runtime& rt, double x) {
    RandomGenerator& g = rt.random;
    if (std::signbit(x)) {
        uint32_t bits = std::bit_cast<uint32_t>(ToSingleBits(x));
        g.seed = (bits << 16) | (bits >> 16);
        g.Step();
    } else if (x != 0) {
        g.Step();
    }
    while (g.Mantissa() == 0)
        g.Step();
    return static_cast<float>(g.Mantissa()) / 8388608.0f;
}

void PbRandomize(Runtime& rt, uint32_t n) {
    rt.random.seed ^= n;
}

int32_t PbTimer(Runtime& rt) {
    static const platform::SystemClock systemClock;
    const platform::Clock& clock = rt.platform.clock ? *rt.platform.clock : systemClock;
    platform::LocalTime t = clock.Now();
    return t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace kestran
