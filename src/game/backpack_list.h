// The backpack as a numbered list to choose from, as the shop's identify and sell screens and
// identifying by skill show it.
#pragma once

#include <string_view>

#include "game/game.h"

namespace kestran::game {

// The carried items (non-free slots i at (25, i + 5) as "( i )  " and the shown name) under a
// heading at (1,1) and a prompt at (1,2), with the way out at (55,22).
void ListBackpack(Game& g, std::string_view heading, std::string_view prompt, std::string_view leave);

}  // namespace kestran::game
