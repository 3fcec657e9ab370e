// The title screen: the first screen of the game.
#pragma once

#include "game/game.h"

namespace kestran::game {

// Clears the screen and shows the game's name, its three choices and the credits.
void DrawTitleScreen(Game& g);

// The title screen: drawn once, then keys are read until one of its choices: "N" a new hero,
// "L" loading, "D" converting a hero of the predecessor game (either case). Other keys are
// ignored and the screen is not redrawn.
Scene TitleScreen(Game& g);

}  // namespace kestran::game
