// fight/: fights with groups of monsters, from the encounter roll to victory or flight, with the
// hero's, the monsters' and the companion's actions.
//
// Fights: the encounter roll of a step and the whole fight with a group of monsters.
#pragma once

#include "game/game.h"

namespace kestran::game {

// On arrival in an encounter cell ("1" or "3", read into cellEvent): bossFight = "0", then a
// fight with chance cellEvent in 15.
void RollEncounter(Game& g);

// Runs a whole fight (the caller has set bossFight and surprise) and returns when it is over:
// won, fled, or with the hero's hit points below 1 (the exploration loop then lets the hero die).
void StartFight(Game& g);

}  // namespace kestran::game
