// The tavern: one of five companions is invited for the next descent.
#pragma once

#include "game/game.h"

namespace kestran::game {

Scene Tavern(Game& g);

}  // namespace kestran::game
