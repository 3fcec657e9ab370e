#include "game/camp/camp_menu.h"

#include "game/camp/character_menu.h"
#include "game/game_screen.h"
#include "game/saves/saving.h"

namespace kestran::game {
namespace {

void DrawCamp(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"キャンプを張りました"_sj});
    PrintAt(g, 1, 2, {"どうしますか？"_sj});
    PrintChoices(g, 20, {"日記をつける(S)"_sj, "キャラクターを見る(C)"_sj, "キャンプをたたむ(B)"_sj});
}

}  // namespace

CampExit CampMenu(Game& g) {
    for (;;) {
        DrawCamp(g);
        for (bool done = false; !done;) {
            const PbString key = ReadKey(g);
            if (IsKey(key, 'S')) {
                SaveCharacter(g);
                done = true;
            } else if (IsKey(key, 'C')) {
                if (CharacterMenu(g) == MenuExit::TripHome) return CampExit::TripHome;
                done = true;
            } else if (IsKey(key, 'B')) {
                return CampExit::Strike;
            }
        }
    }
}

}  // namespace kestran::game
