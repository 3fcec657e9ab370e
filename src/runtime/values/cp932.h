// The CP932 <-> Unicode table, usable at compile time (for the "_sj" literals) and at run time.
#pragma once

#include <cstdint>
#include <optional>

namespace kestran {

struct Cp932Pair {
    uint16_t code;     // one-byte code, or lead byte << 8 | trail byte
    uint32_t unicode;  // Unicode scalar value
};

#include "runtime/values/cp932_table.inc"

// The preferred CP932 code of a Unicode value, or nothing when CP932 cannot carry it.
constexpr std::optional<uint16_t> Cp932FromUnicode(uint32_t cp) {
    const auto* first = kCp932Encode;
    auto count = sizeof kCp932Encode / sizeof kCp932Encode[0];
    while (count > 0) {
        auto half = count / 2;
        if (first[half].unicode < cp) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    if (first != kCp932Encode + sizeof kCp932Encode / sizeof kCp932Encode[0] && first->unicode == cp) return first->code;
    return std::nullopt;
}

// The Unicode value of a CP932 code, or nothing when the code is not valid.
constexpr std::optional<uint32_t> UnicodeFromCp932(uint16_t code) {
    const auto* first = kCp932Decode;
    auto count = sizeof kCp932Decode / sizeof kCp932Decode[0];
    while (count > 0) {
        auto half = count / 2;
        if (first[half].code < code) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    if (first != kCp932Decode + sizeof kCp932Decode / sizeof kCp932Decode[0] && first->code == code) return first->unicode;
    return std::nullopt;
}

}  // namespace kestran
