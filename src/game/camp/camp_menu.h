// camp/: the camp (here) and the character menu it shares with the town: the backpack, the
// equipment and the items used or discarded.
//
// The camp pitched in the labyrinth between steps: the diary, the character menu, striking camp.
#pragma once

#include "game/game.h"

namespace kestran::game {

enum class CampExit {
    Strike,    // back to the exploration loop's redraw
    TripHome,  // an item or spell carried the hero home: dungeonFloor is 0, ReturnToTown follows
};

CampExit CampMenu(Game& g);

}  // namespace kestran::game
