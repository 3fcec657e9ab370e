// The backpack screen of the character menu: what the hero wears and carries, and the keys to
// equip, unequip, use and discard. Each of those operations comes back to it, drawn afresh.
#pragma once

#include "game/camp/character_menu.h"
#include "game/game.h"

namespace kestran::game {

// Gives Returned on "R" (the character menu draws the sheet again), TripHome when an item
// carried the hero home.
MenuExit InventoryScreen(Game& g);

// The item list of the choice screens: each occupied backpack slot i at (25, i + 4) as "( i )"
// followed by its shown name.
void PrintItemChoices(Game& g);

// "戻る(R)" at (55,22): the way back, printed again when a key means nothing.
void PrintBackHint(Game& g);

// Equipment slot `slot`'s shown name at (column, slot + 4), or "装備していません" when empty.
void PrintWornItem(Game& g, double column, int slot);

// Exchanges the three strings of backpack slot `packSlot` and equipment slot `equipSlot`.
void SwapWithEquipment(GameState& s, double packSlot, double equipSlot);

}  // namespace kestran::game
