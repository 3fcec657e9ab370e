#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/values/error.h"
#include "runtime/values/number_scan.h"
#include "runtime/values/numbers.h"

namespace kestran {

namespace {

enum class Kind { Single, Double, Short, Long };

// Exponents beyond this give infinity or zero whatever the digits; clamping keeps the sums small.
constexpr int64_t kExponentClamp = 1000000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsNumber(std::string_view t) {
    auto at = [&](std::size_t i) { return i < t.size() ? t[i] : '\0'; };
    char c = at(0);
    if (IsDigit(c)) return true;
    if (c == '+' || c == '-') return IsDigit(at(1)) || at(1) == '.';
    if (c == '.') return IsDigit(at(1));
    if (c == '&') return Upper(at(1)) == 'H' || Upper(at(1)) == 'O';
    return false;
}

// Fits `v` to its kind; sets tooLarge when it does not fit.
void FitKind(ScannedNumber& n, double v, Kind kind) {
    switch (kind) {
        case Kind::Single:
            n.tooLarge = !(std::fabs(v) < kSingleOverflow);
            n.value = n.tooLarge ? 0 : static_cast<double>(static_cast<float>(v));
            break;
        case Kind::Double:
            n.tooLarge = !std::isfinite(v);
            n.value = n.tooLarge ? 0 : v;
            break;
        case Kind::Short:
        case Kind::Long: {
            double r = RoundHalfAwayFromZero(v);
            double limit = kind == Kind::Short ? 32768.0 : 2147483648.0;
            n.tooLarge = !(r >= -limit && r < limit);
            n.value = n.tooLarge ? 0 : r;
            break;
        }
    }
    n.value += 0.0;  // no negative zero
}

ScannedNumber ScanRadix(std::string_view t) {
    ScannedNumber n;
    n.isNumber = true;
    int radix = Upper(t[1]) == 'H' ? 16 : 8;
    std::size_t i = 2;
    uint64_t v = 0;
    bool overflow = false;
    for (; i < t.size(); ++i) {
        char c = Upper(t[i]);
        int d = IsDigit(c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
        if (d >= radix) break;
        v = v * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFu) overflow = true, v = 0xFFFFFFFFu + 1;
    }
    char mark = i < t.size() ? t[i] : '\0';
    if (mark == '%' || mark == '&') ++i;
    n.length = i;
    if (overflow || (mark == '%' && v > 0xFFFF)) {
        n.tooLarge = true;
        return n;
    }
    n.value = v <= 0xFFFF ? static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)))
                          : static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    return n;
}

// Reads the exponent digits at t[i...]; returns the clamped value.
int64_t ReadExponent(std::string_view t, std::size_t& i) {
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    int64_t e = 0;
    for (; i < t.size() && IsDigit(t[i]); ++i)
        e = std::min<int64_t>(e * 10 + (t[i] - '0'), kExponentClamp);
    return negative ? -e : e;
}

ScannedNumber ScanDecimal(std::string_view t) {
    ScannedNumber n;
    n.isNumber = true;
    std::size_t i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    std::string digits;
    int64_t scale = 0;  // power of ten applied to `digits`
    std::size_t digitCount = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i])) {
            ++digitCount;
            if (!(digits.empty() && t[i] == '0')) digits += t[i];
            if (point) --scale;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    Kind kind = digitCount > 7 ? Kind::Double : Kind::Single;
    char letter = i < t.size() ? Upper(t[i]) : '\0';
    if (letter == 'E' || letter == 'D') {
        ++i;
        scale += ReadExponent(t, i);
        kind = letter == 'E' ? Kind::Single : Kind::Double;
    }
    char mark = i < t.size() ? t[i] : '\0';
    if (mark == '!' || mark == '#' || mark == '%' || mark == '&') {
        ++i;
        kind = mark == '!' ? Kind::Single : mark == '#' ? Kind::Double : mark == '%' ? Kind::Short : Kind::Long;
    }
    n.length = i;
    double v = 0;
    if (!digits.empty()) {
        // Digits and a power of ten without a decimal point: strtod reads this the same in
        // every locale.
        std::string text = digits + "e" + std::to_string(scale);
        v = std::strtod(text.c_str(), nullptr);
    }
    FitKind(n, negative ? -v : v, kind);
    return n;
}

}  // namespace

ScannedNumber ScanPbNumber(std::string_view text) {
    if (!StartsNumber(text)) return {};
    return text[0] == '&' ? ScanRadix(text) : ScanDecimal(text);
}

double PbVal(std::string_view text, std::source_location where) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return 0;
    text.remove_prefix(start);
    text = text.substr(0, text.find(' '));
    ScannedNumber n = ScanPbNumber(text);
    if (n.tooLarge) PbRaiseError(6, 0x9F01, where);
    return n.value;
}

}  // namespace kestran
