// The exploration screen's two halves: on the left the wire-frame corridor the hero sees, two
// cells deep, computed from the wall digits of at most six cells around the hero; on the right the
// panel of the hero's figures. Both expect a cleared screen.
#pragma once

#include <cstdint>

#include "game/game.h"

namespace kestran::game {

// Directions of `facing` and of the wall flags: 1 west, 2 north, 3 east, 4 south.
constexpr int kWest = 1;
constexpr int kNorth = 2;
constexpr int kEast = 3;
constexpr int kSouth = 4;

// `direction` turned by `quarterTurns` to the right (negative: to the left), kept in 1..4.
double TurnedDirection(double direction, int quarterTurns);

// What the view shows on one side of a depth: nothing (the side lies open, and so does the
// neighbouring cell ahead), a wall, or the opening of a side passage (no wall, but the
// neighbouring cell is walled ahead, which is what the picture draws across it).
enum class Side : uint8_t { Open, Wall, Opening };

// The corridor as the hero sees it, two cells deep: what the picture draws and the words say.
// The far depth is seen only when the near front is open.
struct CorridorView {
    bool nearFront = false;  // the hero's own cell is walled ahead
    Side nearLeft = Side::Open;
    Side nearRight = Side::Open;
    bool farFront = false;  // the cell ahead is walled ahead
    Side farLeft = Side::Open;
    Side farRight = Side::Open;
};

// Examines the cells the hero can see (filling viewCells and viewWalls, all flags cleared first)
// and tells what they show. Leaves the flags of the hero's own cell in viewWalls(0).
CorridorView ExamineView(GameState& s);

// Examines the view, draws the corridor's figures and hands the runtime its description in
// words (the screen's accessible text).
void DrawView(Game& g);

// Hands the runtime the description of the unchanged view again, drawing nothing: a step refused
// by the wall ahead leaves the screen as it was, yet a listener must hear that nothing moved.
void RetellView(Game& g);

// Whether the hero's own cell, as the last DrawView examined it, is walled in `direction`.
bool HeroCellWalled(GameState& s, double direction);

// The hero's name, points, experience and level, and the companion.
void DrawStatusPanel(Game& g);

// The parts of the panel a fight shows too: the name and the hit, magic and technique points
// ("HP    ###/###"), and the companion under "仲間".
void PrintNameAndPoints(Game& g);
void PrintCompanionLines(Game& g);

}  // namespace kestran::game
