// Experience turned into levels.
#pragma once

#include "game/game.h"

namespace kestran::game {

// After a won fight: LevelUp when the experience is 1000 or more (one level per victory).
void CheckLevelUp(Game& g);

// One level (or, at level 50, a full recovery) for 1000 experience points.
void LevelUp(Game& g);

}  // namespace kestran::game
