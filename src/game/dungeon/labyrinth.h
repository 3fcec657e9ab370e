// dungeon/: the labyrinth: the exploration loop (here), the corridor picture and panel, the
// map's cells and their events, chests and the items found in them.
//
// The labyrinth's exploration loop: the redraw, the keys, stairs and the elevator, the way out to
// the town, and the hero's death.
#pragma once

#include "game/game.h"

namespace kestran::game {

// From the town menu's "M": puts the hero on the staircase of floor 1 facing east, lets the
// companion (if any) greet at the entrance, then explores. Gives the scene that follows the
// stay in the labyrinth.
Scene EnterLabyrinth(Game& g);

// Explores from the position in the game state (also a hero loaded from a save made in the camp)
// until the hero leaves the labyrinth: gives ReturnToTown. The hero's death ends the program.
Scene ExploreLoop(Game& g);

// The end of the game: the hero's last line, a key, the end of the program.
[[noreturn]] void HeroDies(Game& g);

}  // namespace kestran::game
