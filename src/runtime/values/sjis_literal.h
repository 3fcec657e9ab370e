// Game texts stand in the source as UTF-8 and become Shift-JIS at compile time:
//
//     PbPrintString(rt, "ここは宿屋です"_sj, Sep::None);
//
// A character that CP932 cannot carry stops the build with an error at the literal.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/values/cp932.h"

namespace kestran {

template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    consteval Utf8Literal(const char (&s)[N]) {  // NOLINT(google-explicit-constructor)
        for (std::size_t i = 0; i < N; ++i)
            bytes[i] = s[i];
    }
};

// The Shift-JIS bytes of one literal; never longer than its UTF-8 form.
template <std::size_t N>
struct SjisLiteral {
    std::array<char, N> bytes{};
    std::size_t size = 0;

    constexpr std::string_view view() const { return {bytes.data(), size}; }
    constexpr operator std::string_view() const { return view(); }  // NOLINT(google-explicit-constructor)
    operator std::string() const { return std::string(view()); }    // NOLINT(google-explicit-constructor)
    std::string str() const { return std::string(view()); }
};

namespace detail {
// Reached only during constant evaluation when a literal holds a character outside CP932 or is
// not valid UTF-8; being non-constexpr, calling it makes the literal ill-formed.
inline void TextOutsideCp932() {}

template <std::size_t N>
consteval SjisLiteral<N> ConvertLiteral(const char (&s)[N]) {
    SjisLiteral<N> out;
    const std::size_t len = N - 1;  // without the terminating zero
    for (std::size_t i = 0; i < len;) {
        auto b0 = static_cast<unsigned char>(s[i]);
        std::size_t n = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > len) TextOutsideCp932();
        uint32_t cp = n == 1 ? b0 : n == 2 ? (b0 & 0x1F) : n == 3 ? (b0 & 0x0F) : (b0 & 0x07);
        for (std::size_t k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        auto code = Cp932FromUnicode(cp);
        if (!code) TextOutsideCp932();
        if (*code > 0xFF) out.bytes[out.size++] = static_cast<char>(*code >> 8);
        out.bytes[out.size++] = static_cast<char>(*code & 0xFF);
        i += n;
    }
    return out;
}

// One object per distinct literal, for the whole run.
template <Utf8Literal L>
inline constexpr auto kSjisLiteral = ConvertLiteral(L.bytes);
}  // namespace detail

inline namespace literals {
// A reference to a static object, so that a view of the literal (`"..."_sj.view()`) stays valid
// past the expression that names it.
template <Utf8Literal L>
consteval const auto& operator""_sj() {
    return detail::kSjisLiteral<L>;
}
}  // namespace literals

}  // namespace kestran
