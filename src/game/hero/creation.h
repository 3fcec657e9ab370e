// hero/: the hero's own rules, whatever screen calls them: creation (here), the bonus points
// shared out at creation and at a level-up, the level-up itself, the character sheet and the
// companions who may join.
//
// A new hero: name, rolled attributes, bonus points, dominant arm, the finished sheet, the first
// save.
#pragma once

#include <string_view>

#include "game/game.h"

namespace kestran::game {

// The bytes the name entry refuses with a beep: a save file field cannot carry them.
inline constexpr std::string_view kNameRefusedBytes = ",:\"";

// Runs the whole creation and saves the hero; gives the town.
Scene CreateCharacter(Game& g);

}  // namespace kestran::game
