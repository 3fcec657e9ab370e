// abilities/: the skill and spell menus outside fights, opened from the character menu that the
// town and the camp share (the fight has its own, in fight/).
//
// The learned skills outside fights, from the character menu: the list of skills, the thief's
// stealthy walk and identifying a carried item by skill.
#pragma once

#include <string_view>

#include "game/game.h"

namespace kestran::game {

// Whether `name` stands in a learned list (entries 0 to 9).
bool IsLearned(PbArray<PbString>& list, std::string_view name);

// The learned skills with the keys of the usable ones; back to the character menu on "R".
void SkillMenu(Game& g);

// "忍び足" for 10 technique points: stealthWalk = 1 until the hero changes floor or leaves.
// Refused without cost in town and while it is already in force.
void UseStealthWalk(Game& g);

// "鑑定" for 7 technique points: one unidentified backpack item chosen on the shop's list
// becomes identified. The points are tested only once an unidentified item has been chosen.
void IdentifyBySkill(Game& g);

}  // namespace kestran::game
