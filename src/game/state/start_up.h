// The start-up routines that create the game's arrays and fill its constant tables.
#pragma once

#include <source_location>

#include "game/state/game_state.h"

namespace kestran::game {

// The data part of the program's start: dimensions every array of a fresh GameState (numbers 0,
// strings empty), names the attributes, sets the body state to normal, empties the companion,
// puts the start-up stock on the shop's shelves and loads the item, monster and map tables.
// Dimensioning twice is a run-time error, so call it once per GameState.
void InitializeGameState(GameState& s, std::source_location where = std::source_location::current());

// Fills the 100 items and the 31 monsters. Once, at start-up.
void LoadItemAndMonsterTables(GameState& s, std::source_location where = std::source_location::current());

// Fills abilityNames. The guild calls it on every entry.
void LoadAbilityNames(GameState& s, std::source_location where = std::source_location::current());

// Writes the start-up walls and events of all six floors.
void LoadFloorMaps(GameState& s, std::source_location where = std::source_location::current());

}  // namespace kestran::game
