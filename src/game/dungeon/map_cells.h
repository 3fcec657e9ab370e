// The event character of the hero's own cell, read and overwritten as the game does it (MID$ of
// the floor's event row, and the MID$ statement, which keeps the row's length).
#pragma once

#include <source_location>
#include <string_view>

#include "game/state/game_state.h"

namespace kestran::game {

// The event of the cell at posX of row posY on floor dungeonFloor.
PbString HeroCellEvent(GameState& s, std::source_location where = std::source_location::current());

// Overwrites the event of the hero's cell with the one character `event` ("1" for an emptied
// chest, "T" for a chest left by beaten monsters).
void SetHeroCellEvent(GameState& s, std::string_view event,
                      std::source_location where = std::source_location::current());

}  // namespace kestran::game
