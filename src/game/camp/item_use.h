// Using potions and stones, and throwing away any carried item, outside fights. A used or
// discarded item leaves the backpack, which is packed again.
#pragma once

#include "game/camp/character_menu.h"
#include "game/game.h"

namespace kestran::game {

// Uses a chosen "P" item: points restored, poison and disease cured, each with its message even
// when there is nothing to cure. Gives TripHome after the stone that carries the hero home
// (dungeonFloor and stealthWalk are then 0, in town as well), else Returned.
MenuExit UseCarriedItem(Game& g);

// Throws away the item of a chosen slot after its question. The slot is not tested: a digit of
// a free slot asks with an empty name, and confirming it changes nothing.
void DiscardCarriedItem(Game& g);

}  // namespace kestran::game
