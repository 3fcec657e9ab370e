// Texts kept in tables. A `"…"_sj` literal is a temporary; kText<"…"> is the same Shift-JIS text
// with static storage, so a constexpr table can hold string_views of it.
#pragma once

#include "runtime/values/sjis_literal.h"

namespace kestran::game {

template <Utf8Literal L>
inline constexpr auto kText = operator""_sj<L>();

}  // namespace kestran::game
