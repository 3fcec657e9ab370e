// town/: the town of オディシス and its places: the title screen that leads into it, the town
// menu and the inn (here), the item shop, the adventurers' guild and the tavern.
//
// The town of オディシス: its entry, its menu of six keys, the way back from the labyrinth and
// the inn.
#pragma once

#include "game/game.h"

namespace kestran::game {

// The entry every facility returns to: the labyrinth for a hero loaded in it, else the menu.
Scene EnterTown(Game& g);

// Back from the labyrinth (the caller has set dungeonFloor to 0): the companion takes leave.
Scene ReturnToTown(Game& g);

Scene TownMenu(Game& g);

// A night for 10 gold, with the diary (saving).
Scene Inn(Game& g);

}  // namespace kestran::game
