// The corridor in words, for a player who cannot see the picture: the same view the picture is
// drawn from, said in short Japanese sentences that keep one order and one vocabulary, so that
// a listener learns them once:
//
//     東向き。前は1歩先で壁。左は壁、右は横道。1歩先は左が通路、右が壁。ここに上り階段。
//
// the facing; how far the corridor runs ahead (前は壁 / 前は1歩先で壁 / 前は2歩以上続く, the
// last when the picture shows no wall ahead); the near sides; the far sides when the near front
// is open; and what lies on the hero's cell, when the hero can see something there. A side is
// 壁 (a wall), 横道 (the opening of a side passage) or 通路 (open, and open beyond).
#pragma once

#include <string_view>

#include "game/dungeon/corridor_view.h"

namespace kestran::game {

// The description (Shift-JIS) of `view` seen facing `facing` from a cell whose event character
// is `cellEvent` (as the cell holds it now: an emptied chest says nothing). A facing outside
// 1..4 is left out rather than guessed.
// In another language than Japanese, each sentence is translated whole.
PbString DescribeView(const Game& g, const CorridorView& view, double facing, std::string_view cellEvent);

}  // namespace kestran::game
