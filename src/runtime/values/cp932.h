// The CP932 <-> Unicode table, usable at compile time (for the "_sj" literals) and at run time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kestran {

struct Cp932Pair {
    uint16_t code;     // one-byte code, or lead byte << 8 | trail byte
    uint32_t unicode;  // Unicode scalar value
};

#include "runtime/values/cp932_table.inc"

namespace detail {
// Binary search of a table sorted by `key`; the matching pair or nullptr.
template <std::size_t N, typename Key>
constexpr const Cp932Pair* FindCp932Pair(const Cp932Pair (&table)[N], uint32_t value, Key key) {
    const Cp932Pair* it =
        std::lower_bound(table, table + N, value, [key](const Cp932Pair& p, uint32_t v) { return key(p) < v; });
    return (it != table + N && key(*it) == value) ? it : nullptr;
}
}  // namespace detail

// The preferred CP932 code of a Unicode value, or nothing when CP932 cannot carry it.
constexpr std::optional<uint16_t> Cp932FromUnicode(uint32_t cp) {
    const auto* p = detail::FindCp932Pair(kCp932Encode, cp, [](const Cp932Pair& q) { return q.unicode; });
    if (p) return p->code;
    return std::nullopt;
}

// The Unicode value of a CP932 code, or nothing when the code is not valid.
constexpr std::optional<uint32_t> UnicodeFromCp932(uint16_t code) {
    const auto* p = detail::FindCp932Pair(kCp932Decode, code, [](const Cp932Pair& q) { return uint32_t{q.code}; });
    if (p) return p->unicode;
    return std::nullopt;
}

}  // namespace kestran
