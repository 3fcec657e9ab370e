// The shape of a message that must be read before the game goes on: a cleared screen, the
// message on row 1, "何かキーを押して下さい" under it, and a key.
#pragma once

#include <initializer_list>
#include <source_location>

#include "game/game_screen.h"

namespace kestran::game {

// Clears the screen, prints `message` at (1,1) and the prompt at (1,2), and waits for a key.
void ShowNotice(Game& g, std::initializer_list<PrintItem> message,
                std::source_location where = std::source_location::current());

// The prompt "何かキーを押して下さい" at (1, row), then a key.
void PromptForKey(Game& g, double row, std::source_location where = std::source_location::current());

}  // namespace kestran::game
