#include "game/town/title.h"

#include "game/game_screen.h"

namespace kestran::game {

void DrawTitleScreen(Game& g) {
    ClearScreen(g);
    PrintAt(g, 33, 5, {"KESTRAN"});
    PrintAt(g, 33, 14, {"(N) NEW  GAME"});
    PrintAt(g, 33, 15, {"(L) DATA LORD"});
    PrintAt(g, 34, 16, {"(D) CONVERT"});
    PrintAt(g, 27, 20, {"(C) 2026 THE KESTRAN TEAM"});
    PrintAt(g, 13, 21, {"A NEW IMPLEMENTATION OF THE GAME AND ITS RUNTIME IN C++"});
}

Scene TitleScreen(Game& g) {
    DrawTitleScreen(g);
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'N')) return Scene::NewHero;
        if (IsKey(key, 'L')) return Scene::LoadHero;
        if (IsKey(key, 'D')) return Scene::ConvertHero;
    }
}

}  // namespace kestran::game
