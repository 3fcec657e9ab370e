// Putting on a carried item and taking off a worn one. Both exchange the three strings of a
// backpack slot and an equipment slot, so an item is never copied or lost, and both end at the
// backpack screen.
#pragma once

#include "game/game.h"

namespace kestran::game {

// Puts on a chosen backpack item: weapons and shields into the hand the player names, anything
// else worn into its type's slot; what was worn there takes the item's backpack slot. Refused
// when the item is too heavy or the two-handed rule forbids it.
void EquipFromBackpack(Game& g);

// Takes off a worn item into the first free backpack slot; refused with a full backpack.
void UnequipToBackpack(Game& g);

}  // namespace kestran::game
