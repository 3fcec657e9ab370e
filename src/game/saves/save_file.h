// The save file: the hero, the backpack, the equipment, the companion, the position, the event
// rows of the floors, the learned abilities and the shop's stock, as a text file written with
// PRINT # and read back with INPUT #, line by line in one fixed order.
//
// Line by line (floors = 6 in this game's file, 260 lines; 5 in the predecessor's, 240 lines):
//   heroStats(0..10), one number a line
//   heroName "," damageBonus, hitBonus, evadeBonus, physicalDefense, magicDefense
//   backpack slots 0..9: trueName "," name "," code   (a free slot: ",,")
//   maxHp, maxTp, maxMp, gold, dungeonFloor, posX, posY, heroLevel, facing, stealthWalk
//   equipment slots 0..5: trueName "," name "," code
//   handedness "," companionName "," reservedText "," bodyState
//   mapEvents: floor 1 rows 0..19, floor 2 rows 0..19, ... one row a line
//   learned lists 0..9: skill "," mage spell "," priest spell
//   shopStock(0..99), one a line
// Numbers are written as PRINT writes a single (sign blank, digits, one blank); "," between
// numbers pads to the next zone of 14 columns.
#pragma once

#include <source_location>

#include "game/state/game_state.h"

namespace kestran {
struct Runtime;
}

namespace kestran::game {

constexpr int kSaveFloors = 6;
constexpr int kPredecessorFloors = 5;

// Writes the whole layout to the open output file `n`. Errors of the file operations pass.
void WriteSaveFile(Runtime& rt, GameState& s, double n, int floors = kSaveFloors,
                   std::source_location where = std::source_location::current());

// Reads the layout from the open input file `n` into `s`, field by field in the written order;
// the event rows of floors beyond `floors` are not touched. Errors of the file operations pass,
// leaving `s` partly read: read into a copy.
void ReadSaveFile(Runtime& rt, GameState& s, double n, int floors = kSaveFloors,
                  std::source_location where = std::source_location::current());

// Whether a state read from a file can be played and saved again: every event row 20 characters
// long; a hero in the labyrinth on floor 1..6, on a cell of it (column 1..20, row 0..19), facing
// 1..4; a level of at least 1; no text holding a comma, colon or double quote (the next save
// would split it) or starting or ending with a blank (the next load would drop the blank, and an
// event row would come back too short). A file that fails this is refused like a damaged one, so
// that no later screen runs off its maps or divides by the level, and no later save writes a file
// that cannot be loaded or loads as another hero.
bool IsPlayableSave(GameState& s);

}  // namespace kestran::game
