// Rules on the hero's record that several screens share: derived values, keeping the backpack
// packed, and the body state (poison and disease).
#pragma once

#include <source_location>

#include "game/state/game_state.h"

namespace kestran::game {

// Recomputes hit, magic and technique points from the attributes, fills the current points to
// these maxima, and recomputes the five derived bonuses with the current heroLevel.
void ComputeDerivedStats(GameState& s, std::source_location where = std::source_location::current());

// The level-up form of ComputeDerivedStats: hit, magic and technique points stop at 999.
void ComputeDerivedStatsCapped(GameState& s, std::source_location where = std::source_location::current());

// After one removal from the backpack, moves the free slot behind the occupied ones (one pass,
// which carries a single gap to slot 9).
void PackInventory(GameState& s, std::source_location where = std::source_location::current());

// Empties backpack slot `slot` (its three strings) and packs the backpack: how a used or
// discarded item leaves it.
void RemoveBackpackItem(GameState& s, double slot, std::source_location where = std::source_location::current());

// The body state is "通常", "毒", "病気" or "毒　病気"; poisoned means its first character is
// "毒", diseased means its last character is "気".
bool IsPoisoned(const GameState& s, std::source_location where = std::source_location::current());
bool IsDiseased(const GameState& s, std::source_location where = std::source_location::current());
void AddPoison(GameState& s);
void AddDisease(GameState& s);
void CurePoison(GameState& s);
void CureDisease(GameState& s);

}  // namespace kestran::game
