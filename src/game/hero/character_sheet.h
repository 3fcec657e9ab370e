// The character sheet: the whole hero record on one screen. Its callers print their own lines
// below it (rows 18 to 22 stay free) and read their own keys.
#pragma once

#include "game/game.h"

namespace kestran::game {

// Clears the screen and prints the sheet. Reads no key and changes nothing.
void ShowCharacterSheet(Game& g);

}  // namespace kestran::game
