// Shared by the fuzz targets that load a save: the load through the game's own screens, the
// checks that a refused file changed nothing and that a loaded one saves and loads again to the
// same bytes, and a short walk with the loaded hero.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_game_support.h"
#include "game/game.h"
#include "game/saves/save_file.h"
#include "game/saves/saving.h"
#include "game/state/start_up.h"

namespace kestran::fuzz {

// One key of the game, picked by a byte: letters, digits, the named keys, and a few bytes that
// are hard on text (a Shift-JIS character, a lone lead byte, the field separators).
inline std::string_view GameKey(uint8_t b) {
    static constexpr std::string_view kKeys[] = {
        "A",      "B",     "C",     "D",       "E",     "F",     "G",      "H",       "I",      "J",          "K",
        "L",      "M",     "N",     "O",       "P",     "Q",     "R",      "S",       "T",      "U",          "V",
        "W",      "X",     "Y",     "Z",       "0",     "1",     "2",      "3",       "4",      "5",          "6",
        "7",      "8",     "9",     "{Enter}", "{Esc}", "{BS}",  " ",      "{Up}",    "{Down}", "{Left}",     "{Right}",
        "{Home}", "{End}", "{Del}", "{Ins}",   "{F1}",  "{Tab}", "y",      "n",       "x",      "{x82}{xA0}", "{x81}",
        ",",      ":",     "\"",    "{Enter}", "{Up}",  "{Up}",  "{Left}", "{Right}", "{Down}"};
    return kKeys[b % std::size(kKeys)];
}

// A marker hero in memory before a load, so that a refused load can be seen to change nothing.
inline void SetMarkerHero(game::GameState& s) {
    game::InitializeGameState(s);
    s.heroName = "MARKER";
    s.gold = 4321;
    s.heroLevel = 3;
    s.heroStats(0) = 17;
    s.mapEvents(5, 0) = "MARKERMARKERMARKER12";
}

inline bool IsMarkerHero(game::GameState& s) {
    return s.heroName == "MARKER" && s.gold == 4321 && s.heroLevel == 3 && s.heroStats(0) == 17 &&
           s.mapEvents(5, 0) == "MARKERMARKERMARKER12" && s.dungeonFloor == 0;
}

// Runs one screen of the game with `keys` (and as many any-keys as it may still want).
inline game::Scene RunScreen(Session& run, game::Game& g, std::string_view keys, game::Scene (*screen)(game::Game&)) {
    run.window.events.clear();
    run.window.Type(keys);
    run.window.Type("xxxxxxxx");
    return screen(g);
}

// After a load: the hero saves to drive D, a fresh game loads that file and saves it to drive E,
// and the two files must be equal; then the loaded hero walks `walk` keys of the game.
inline void SaveLoadAndWalk(Session& run, game::Game& g, std::string_view input, int walk) {
    if (!game::IsPlayableSave(g.s)) std::abort();
    if (run.rt.files.Find(1)) std::abort();
    fs::create_directories(DrivesRoot() / "D");
    fs::create_directories(DrivesRoot() / "E");
    run.window.events.clear();
    run.window.Type("DYxxxx");
    game::SaveCharacter(g);
    game::GameState again;
    game::InitializeGameState(again);
    game::Game g2{run.rt, again};
    if (RunScreen(run, g2, "DY", game::LoadCharacter) != game::Scene::Town) std::abort();
    run.window.events.clear();
    run.window.Type("EYxxxx");
    game::SaveCharacter(g2);
    if (ReadDriveFile('D', "KSSAVE") != ReadDriveFile('E', "KSSAVE")) std::abort();

    // The walk's keys come from the input, so that different saves walk differently.
    run.window.events.clear();
    uint32_t h = 2166136261u;
    for (unsigned char c : input)
        h = (h ^ c) * 16777619u;
    for (int i = 0; i < walk; ++i) {
        h = h * 1103515245u + 12345u;
        run.window.Type(GameKey(static_cast<uint8_t>(h >> 16)));
    }
    for (game::Scene scene = game::Scene::Town;;)
        scene = game::RunScene(g, scene);  // ends when the keys run out
}

}  // namespace kestran::fuzz
