#include "runtime/values/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/values/error.h"

namespace kestran {

namespace {

// The significant digits of a number and its decimal exponent: |x| = d1.d2...dk * 10^exponent.
struct Digits {
    std::string digits;
    int exponent = 0;
};

// Precision of "%.*e" that prints every float or double exactly (glibc prints exact digits).
constexpr int kExactFloatDigits = 120;
constexpr int kExactDoubleDigits = 770;

// The exact decimal digits of |x| (finite, above zero), at least `minDigits` of them (zeros
// added), and the exponent of the first. A whole number below 2^53 is its integer's digits; any
// other is printed with every digit (slow: hundreds of digits), which glibc gives exactly.
std::string ExactDigits(double ax, int exactPrecision, int minDigits, int& exponent) {
    std::string all;
    if (ax < 9007199254740992.0 && ax == std::floor(ax)) {
        all = std::to_string(static_cast<uint64_t>(ax));
        exponent = static_cast<int>(all.size()) - 1;
    } else {
        std::string buf(static_cast<std::size_t>(exactPrecision) + 16, '\0');
        int len = std::snprintf(buf.data(), buf.size(), "%.*e", exactPrecision, ax);
        buf.resize(static_cast<std::size_t>(len));
        std::size_t ePos = buf.find('e');
        exponent = std::atoi(buf.c_str() + ePos + 1);
        all = buf.substr(0, 1) + buf.substr(2, ePos - 2);
    }
    if (static_cast<int>(all.size()) < minDigits) all.append(static_cast<std::size_t>(minDigits) - all.size(), '0');
    return all;
}

// The digits of |x| (finite, not zero) to `budget` significant digits: the exact digits cut after
// budget + 1, the last of them rounding the others half up, trailing zeros dropped.
Digits SignificantDigits(double ax, int budget, int exactPrecision) {
    Digits d;
    const std::string all = ExactDigits(ax, exactPrecision, budget + 1, d.exponent);
    d.digits = all.substr(0, static_cast<std::size_t>(budget));
    if (all[static_cast<std::size_t>(budget)] >= '5') {
        int i = budget - 1;
        for (; i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9'; --i)
            d.digits[static_cast<std::size_t>(i)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.digits.pop_back();
            ++d.exponent;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    return d;
}

std::string SignText(bool negative, SignStyle style) {
    if (negative) return "-";
    switch (style) {
        case SignStyle::Always:
            return "+";
        case SignStyle::MinusOnly:
            return "";
        case SignStyle::BlankOrMinus:
            break;
    }
    return " ";
}

std::string PlainForm(const Digits& d) {
    const std::string& s = d.digits;
    auto k = static_cast<int>(s.size());
    if (d.exponent < 0) {
        std::string out(".");
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        return out.append(s);
    }
    int intDigits = d.exponent + 1;
    if (k <= intDigits) return s + std::string(static_cast<std::size_t>(intDigits - k), '0');
    return s.substr(0, static_cast<std::size_t>(intDigits)) + "." + s.substr(static_cast<std::size_t>(intDigits));
}

std::string ExponentForm(const Digits& d, char letter, int minExponentDigits) {
    std::string out(1, d.digits[0]);
    if (d.digits.size() > 1) out.append(".").append(d.digits, 1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "%c%c%0*d", letter, d.exponent < 0 ? '-' : '+', minExponentDigits,
                  std::abs(d.exponent));
    return out + exp;
}

PbString NumberText(double v, SignStyle style, int budget, int exactPrecision, char letter, int expDigits) {
    if (std::isnan(v)) return SignText(false, style) + "NAN";
    if (std::isinf(v)) return SignText(v < 0, style) + "INF";
    if (v == 0) return SignText(false, style) + "0";
    Digits d = SignificantDigits(std::fabs(v), budget, exactPrecision);
    auto k = static_cast<int>(d.digits.size());
    bool exponentForm = d.exponent >= budget || (d.exponent < 0 && (-d.exponent + k - 2) >= budget);
    return SignText(v < 0, style) + (exponentForm ? ExponentForm(d, letter, expDigits) : PlainForm(d));
}

// The whole number nearest to |x| (half away from zero, decided on its 15 significant decimal
// digits), as digits.
std::string WholeDigits(double ax) {
    if (ax == 0) return "0";
    Digits d = SignificantDigits(ax, 15, kExactDoubleDigits);
    if (d.exponent < 0) return (d.exponent == -1 && d.digits[0] >= '5') ? "1" : "0";
    auto intDigits = static_cast<std::size_t>(d.exponent) + 1;
    std::string whole = d.digits.substr(0, intDigits);
    whole.append(intDigits - whole.size(), '0');
    if (d.digits.size() > intDigits && d.digits[intDigits] >= '5') {
        std::size_t i = whole.size();
        while (i > 0 && whole[i - 1] == '9')
            whole[--i] = '0';
        if (i == 0)
            whole.insert(whole.begin(), '1');
        else
            ++whole[i - 1];
    }
    return whole;
}

std::string FieldText(double v, std::size_t width) {
    std::string text;
    if (std::isnan(v))
        text = "NAN";
    else if (std::isinf(v))
        text = v < 0 ? "-INF" : "INF";
    else {
        text = WholeDigits(std::fabs(v));
        if (v < 0 && text != "0") text.insert(text.begin(), '-');
    }
    if (text.size() > width) return "%" + text;
    return std::string(width - text.size(), ' ') + text;
}

}  // namespace

PbString PbNumberText(float v, SignStyle style) {
    return NumberText(static_cast<double>(v), style, 6, kExactFloatDigits, 'E', 2);
}

PbString PbNumberText(double v, SignStyle style) {
    return NumberText(v, style, 15, kExactDoubleDigits, 'D', 3);
}

PbString PbPrintedNumber(float v) {
    return PbNumberText(v) + " ";
}
PbString PbPrintedNumber(double v) {
    return PbNumberText(v) + " ";
}

PbString PbFormatUsing(std::string_view picture, std::span<const double> items, std::source_location where) {
    // "#" is 0x23, below every second byte of a double-byte character (0x40 and up), so a plain
    // byte scan cannot split a character.
    if (!items.empty() && picture.find('#') == std::string_view::npos) PbRaiseError(5, 0x6102, where);
    PbString out;
    std::size_t pos = 0;
    auto copyLiteral = [&] {
        std::size_t next = picture.find('#', pos);
        std::size_t end = next == std::string_view::npos ? picture.size() : next;
        out.append(picture.substr(pos, end - pos));
        pos = end;
    };
    for (double item : items) {
        copyLiteral();
        if (pos == picture.size()) {
            pos = 0;
            copyLiteral();
        }
        std::size_t end = picture.find_first_not_of('#', pos);
        if (end == std::string_view::npos) end = picture.size();
        out += FieldText(item, end - pos);
        pos = end;
    }
    copyLiteral();
    return out;
}

}  // namespace kestran
