// The pieces of a fight that its screens share: the turn's outcome, the group, the hero's
// attacks, the monsters' phase, the companion and the end of a fight.
#pragma once

#include <initializer_list>
#include <optional>

#include "game/game.h"
#include "game/game_screen.h"

namespace kestran::game::fight {

// Where a screen of the fight leaves it: the next turn's screen, or the fight's end (won, fled,
// or the hero's hit points below 1).
enum class FightState { Continues, Over };

// --- the group ---
// RND: the next number of the runtime's generator.
double Rnd(Game& g);
// The hit points a monster or the hero loses, stored back.
void Wound(float& hitPoints, double damage);
bool HeroDown(GameState& s);
bool GroupBeaten(GameState& s);
// "name に n ポイントのダメージを与えた！" at (1, row).
void PrintDamageDealt(Game& g, double row, double target, double damage);
// The monster at `target` falls: one row further, its line two rows above messageRow.
void MonsterFalls(Game& g, double target);
// Moves the hit points of the monsters still standing to the front slots and sets lastMonster.
void CloseUpGroup(GameState& s);

// --- the hero's weapons ---
// One attack with both hands (or bare-handed) on `target`. In a group attack the fallen target
// does not move lastMonster.
void HeroWeaponAttack(Game& g, double target, bool groupAttack);
// The weapon attack from its blow on: the blow at lastMonster, the key, the victory, the
// companion and the monsters (unless they have acted).
FightState FinishWeaponTurn(Game& g);

// --- the monsters and the companion ---
void MonstersAttack(Game& g);
void CompanionActs(Game& g);
// The end every acting turn shares: the companion's action (if there is one) and the victory it
// may bring, then the monsters' phase unless they have acted this turn.
FightState EndOfTurn(Game& g);

// --- the end ---
FightState Victory(Game& g);
FightState Flee(Game& g);

// --- abilities and items ---
FightState UseSkill(Game& g);
FightState CastMageSpell(Game& g);
FightState CastPriestSpell(Game& g);
FightState UseItem(Game& g);

}  // namespace kestran::game::fight
