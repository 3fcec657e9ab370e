// The character menu that the town and the camp share: the sheet with its sub-menus.
//
// NOT BUILT YET. Until it is, kCharacterMenuBuilt keeps the town menu from offering it: "C" is
// ignored there like any key that matches nothing.
#pragma once

#include "game/game.h"

namespace kestran::game {

inline constexpr bool kCharacterMenuBuilt = false;

// The character menu entered from the town; gives the scene that follows (the town, or the trip
// home that an item used from the backpack starts). Not built yet: gives the town.
Scene TownCharacterMenu(Game& g);

}  // namespace kestran::game
