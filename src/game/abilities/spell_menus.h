// The learned spells outside fights, from the character menu: the mage's list with the return
// to town, and the priest's list with its healing and curing spells.
#pragma once

#include <string_view>

#include "game/camp/character_menu.h"
#include "game/game.h"

namespace kestran::game {

// The learned mage spells; "C" casts "帰還" when it is learned. Gives Returned on "R", TripHome
// once "帰還" has been cast.
MenuExit MageSpellMenu(Game& g);

// "帰還" for 15 magic points, after its question: dungeonFloor = 0, stealthWalk = 0, and
// TripHome (in town as well). Returned when the points are short or the player says "N".
MenuExit CastReturn(Game& g);

// The learned priest spells, the usable ones offered from the highest list entry down; casts
// until "R".
void PriestSpellMenu(Game& g);

// One of "軽傷を癒す", "解毒", "病気を治す", "重傷を癒す", "浄化", "神の癒し": nothing unless it is
// learned; then the points are tested and the question asked. A cure is cast and paid even
// when there is nothing to cure.
void CastPriestSpell(Game& g, std::string_view spell);

}  // namespace kestran::game
