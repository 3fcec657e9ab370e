// Texts kept in tables. A `"…"_sj` literal is a temporary; kText<"…"> is a view of the same
// Shift-JIS text converted once at compile time into a constant with static storage, so a
// constexpr table can hold it.
#pragma once

#include <string_view>

#include "runtime/values/sjis_literal.h"

namespace kestran::game {

template <Utf8Literal L>
inline constexpr auto kSjisText = operator""_sj<L>();
template <Utf8Literal L>
inline constexpr std::string_view kText = kSjisText<L>.view();

}  // namespace kestran::game
