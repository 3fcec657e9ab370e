// Shared by the fuzz targets that load a save: the load through the game's own screens, the
// checks that a refused file changed nothing and that a loaded one saves and loads again to the
// same bytes, and a short walk with the loaded hero.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// Types the key GameKey(b) names; the keys are parsed once.
inline void TypeGameKey(ScriptWindow& window, uint8_t b) {
    static const auto kEvents = [] {
        std::array<std::deque<platform::Event>, 256> events;
        for (std::size_t i = 0; i < events.size(); ++i) {
            ScriptWindow parser;
            parser.Type(GameKey(static_cast<uint8_t>(i)));
            events[i] = std::move(parser.events);
        }
        return events;
    }();
    window.events.insert(window.events.end(), kEvents[b].begin(), kEvents[b].end());
}

// A file of the committed seed saves (tests/fuzz_saves/).
inline std::string SeedSave(const std::string& name) {
    std::ifstream in(std::filesystem::path(KESTRAN_FUZZ_SAVES) / name, std::ios::binary);
    if (!in) std::abort();
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The game's state as InitializeGameState leaves a new one, in one of a few states that live as
// long as the process: assigning a copy made once reuses their memory and forgets every
// variable of the input before.
inline game::GameState& FreshGameState(std::size_t slot) {
    static const game::GameState fresh = [] {
        game::GameState s;
        game::InitializeGameState(s);
        return s;
    }();
    static std::array<game::GameState, 3> states;
    return states.at(slot) = fresh;
}

// A marker hero in a fresh state before a load, so that a refused load can be seen to change
// nothing.
inline void SetMarkerHero(game::GameState& s) {
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
    run.MakeDrive('D');
    run.MakeDrive('E');
    run.window.events.clear();
    run.window.Type("DYxxxx");
    game::SaveCharacter(g);
    game::Game g2{run.rt, FreshGameState(2)};
    if (RunScreen(run, g2, "DY", game::LoadCharacter) != game::Scene::Town) std::abort();
    run.window.events.clear();
    run.window.Type("EYxxxx");
    game::SaveCharacter(g2);
    if (run.ReadDriveFile('D', "KSSAVE") != run.ReadDriveFile('E', "KSSAVE")) std::abort();

    // The walk's keys come from the input, so that different saves walk differently.
    run.window.events.clear();
    uint32_t h = 2166136261u;
    for (unsigned char c : input)
        h = (h ^ c) * 16777619u;
    for (int i = 0; i < walk; ++i) {
        h = h * 1103515245u + 12345u;
        TypeGameKey(run.window, static_cast<uint8_t>(h >> 16));
    }
    for (game::Scene scene = game::Scene::Town;;)
        scene = game::RunScene(g, scene);  // ends when the keys run out
}

}  // namespace kestran::fuzz
