// The labyrinth's exploration loop.
//
// NOT BUILT YET. Until it is, kLabyrinthBuilt keeps the town from sending the player here: the
// town menu ignores "M" like any key that matches nothing, and a hero loaded in the labyrinth is
// shown the town menu with the saved position kept.
#pragma once

#include "game/game.h"

namespace kestran::game {

inline constexpr bool kLabyrinthBuilt = false;

// Explores from the position in the game state until the hero leaves the labyrinth; gives the
// scene that follows (ReturnToTown after climbing out). Not built yet: gives the town menu.
Scene ExploreLabyrinth(Game& g);

}  // namespace kestran::game
