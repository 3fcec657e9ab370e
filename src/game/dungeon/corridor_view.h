// The exploration screen's two halves: on the left the wire-frame corridor the hero sees, two
// cells deep, computed from the wall digits of at most six cells around the hero; on the right the
// panel of the hero's figures. Both expect a cleared screen.
#pragma once

#include "game/game.h"

namespace kestran::game {

// Directions of `facing` and of the wall flags: 1 west, 2 north, 3 east, 4 south.
constexpr int kWest = 1;
constexpr int kNorth = 2;
constexpr int kEast = 3;
constexpr int kSouth = 4;

// `direction` turned by `quarterTurns` to the right (negative: to the left), kept in 1..4.
double TurnedDirection(double direction, int quarterTurns);

// Examines the cells the hero can see (filling viewCells and viewWalls, all flags cleared
// first) and draws the corridor's figures. Leaves the flags of the hero's own cell in viewWalls(0).
void DrawView(Game& g);

// Whether the hero's own cell, as the last DrawView examined it, is walled in `direction`.
bool HeroCellWalled(GameState& s, double direction);

// The hero's name, points, experience and level, and the companion.
void DrawStatusPanel(Game& g);

// The parts of the panel a fight shows too: the name and the hit, magic and technique points
// ("HP    ###/###"), and the companion under "仲間".
void PrintNameAndPoints(Game& g);
void PrintCompanionLines(Game& g);

}  // namespace kestran::game
