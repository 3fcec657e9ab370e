// The adventurers' guild: abilities bought with gold, each needing a minimum of one attribute.
#pragma once

#include "game/game.h"

namespace kestran::game {

enum class GuildList { Warrior, Thief, Mage, Priest };

// Loads the ability names and runs the guild's menu; gives the town on "E".
Scene Guild(Game& g);

// What a list screen leads to: the guild's menu as it stands, or the guild entered afresh (the
// names loaded again) after an ability was learned.
enum class GuildNext { Menu, Reenter };

// The guild's menu until "E" (gives the town).
Scene GuildMenu(Game& g);

// One list: shows it and sells one ability of it.
GuildNext LearnFromList(Game& g, GuildList list);

}  // namespace kestran::game
