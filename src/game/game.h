// game/: the game on the runtime. Here: the control flow; beside it the helpers every screen may
// use: the statement shapes (game_screen.h), the notice that must be read (notice.h), the
// backpack as a list to choose from (backpack_list.h) and the tables of texts (text_table.h).
// One folder for each part of the game below.
//
// The game's control flow: one context that every screen receives, the scenes a screen can send
// the player to, and the loop that runs them. A screen that leads elsewhere returns the next
// scene; routines the game calls and comes back from (the character sheet, saving) are plain
// calls, so the call stack never grows with the player's wandering.
#pragma once

#include <cstdint>
#include <optional>

#include "game/language/catalogue.h"
#include "game/state/game_state.h"

namespace kestran {
struct Runtime;
}

namespace kestran::game {

class FitCheck;

// What every screen works on: the runtime it prints and reads keys through, the game's
// variables, and the translation of the texts it shows (none: the Japanese game).
struct Game {
    Runtime& rt;
    GameState& s;
    const Catalogue* catalogue = nullptr;
    FitCheck* fitCheck = nullptr;  // a translator's check of the translated screens, when asked for
};

enum class Scene {
    Title,
    NewHero,
    LoadHero,
    ConvertHero,
    Town,  // the entry every facility returns to
    TownMenu,
    ReturnToTown,  // back from the labyrinth: the companion takes leave, then Town
    Inn,
    ItemShop,
    Guild,
    Tavern,
    EnterLabyrinth,  // from the town menu: the entrance with the companion's greeting
    Labyrinth,       // the exploration loop at the hero's position (src/game/dungeon)
    CharacterMenu,   // src/game/camp
};

// Runs one scene and gives the one that follows.
Scene RunScene(Game& g, Scene scene);

// The start-up: clears the screen, seeds the random generator (with `seed`, else with the time of
// day) and creates every table. Then the title screen and the scenes that follow it, until the
// program ends (ProgramEnd from the runtime).
// `language` only changes the texts shown.
void RunGame(Runtime& rt, std::optional<uint32_t> seed = std::nullopt, Language language = Language::Japanese);
// The same on `state`, which must be as InitializeGameState leaves a new GameState: a process
// that plays many games copies one made once.
void RunGame(Runtime& rt, GameState& state, std::optional<uint32_t> seed, Language language = Language::Japanese,
             FitCheck* fitCheck = nullptr);

}  // namespace kestran::game
