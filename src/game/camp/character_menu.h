// The character menu that the town and the camp share: the sheet with its sub-menus for the
// backpack and for the learned skills and spells.
#pragma once

#include "game/game.h"

namespace kestran::game {

enum class MenuExit {
    Returned,  // "R": back to the caller
    TripHome,  // an item or spell carried the hero home: dungeonFloor is 0, ReturnToTown follows
};

// Called as a subroutine by the camp and by the town.
MenuExit CharacterMenu(Game& g);

// The character menu entered from the town: gives the town, or ReturnToTown after a trip home.
Scene TownCharacterMenu(Game& g);

}  // namespace kestran::game
