// What the hero finds on arriving in a cell: stairs, chests, the elevator, signs, the spring of
// light, the encounter roll and the master's cell; and the treasure chest with its trap and the
// item inside.
#pragma once

#include "game/game.h"

namespace kestran::game {

// Reads the event of the hero's cell into cellEvent (clearing stepTaken), prints what lies there
// under the panel and acts on it. A fight started here runs to its end inside this call.
void CheckCell(Game& g);

// The chest menu on a chest cell: the companion's help, disarming, or opening it directly. Ends
// the game when the trap kills the hero.
void OpenChest(Game& g);

// The item in an opened chest, drawn by floor: the chest is used up, and the hero picks the item
// up (making room if need be) or leaves it.
void FindItem(Game& g);

}  // namespace kestran::game
