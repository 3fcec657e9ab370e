// Where the game shows a text, the player's language replaces it; nothing else ever sees the
// translation, so game state, saves, random draws and keys stay those of the Japanese game. A
// text is looked up whole, keyed by its Japanese, and the hero's typed name is never translated.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

#include "game/game_screen.h"

namespace kestran::game {

// `sjis` in the game's language: its translation, or itself where there is none.
std::string_view Tr(const Game& g, std::string_view sjis);

// A message the game prints as several items (a monster's name, "は", the hero's name, "に気付
// いていない！") as the one translation of the pattern its fixed pieces match, its places filled
// with the translated names and the numbers; nothing when no pattern matches.
std::optional<PbString> TranslateMessage(const Game& g, std::initializer_list<PrintItem> items);

// The cells `items` take when printed in Japanese.
std::size_t JapaneseWidth(std::initializer_list<PrintItem> items);

}  // namespace kestran::game
