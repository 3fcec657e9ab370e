#include "game/town/town.h"

#include "game/game_screen.h"
#include "game/hero/companions.h"
#include "game/hero_slots.h"
#include "game/saves/saving.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr float kNightPrice = 10;

void DrawTownMenu(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"ここはオディシスの街です"_sj});
    PrintLine(g, {" どうしますか？"_sj});
    PrintChoices(g, 17,
                 {"宿屋に行く(I)"_sj, "冒険者ギルドに行く(G)"_sj, "酒場に行く(T)"_sj, "道具屋に行く(S)"_sj,
                  "地下迷宮に入る(M)"_sj, "キャラクターを見る(C)"_sj});
}

// Asks for the night until the player says "Y" with the money, or "N".
bool PayForTheNight(Game& g) {
    for (;;) {
        ClearScreen(g);
        PrintAt(g, 1, 1, {"ここは宿屋です"_sj});
        PrintAt(g, 1, 2, {"一晩 10ゴールドですがよろしいですか？(Y/N)"_sj});
        if (ReadYesNo(g) == Answer::No) return false;
        if (g.s.gold >= kNightPrice) break;
        ClearScreen(g);
        PrintAt(g, 1, 1, {"宿に泊まるだけのお金がありません"_sj});
        PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
        WaitForKey(g);
    }
    GameState& s = g.s;
    s.gold = PbStore(double(s.gold) - kNightPrice);
    s.heroStats(kHitPoints) = s.maxHp;
    s.heroStats(kMagicPoints) = s.maxMp;
    s.heroStats(kTechniquePoints) = s.maxTp;
    s.bodyState = "通常"_sj;
    return true;
}

}  // namespace

Scene EnterTown(Game& g) {
    if (g.s.dungeonFloor > 0) return Scene::Labyrinth;
    return Scene::TownMenu;
}

Scene ReturnToTown(Game& g) {
    GameState& s = g.s;
    if (s.companionName.empty()) return Scene::Town;
    if (const Companion* c = CompanionByName(s.companionName)) s.companionLine = c->partingLine;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.companionName, s.companionLine});
    PrintAt(g, 1, 3, {"街に戻ってきましたので仲間と別れました"_sj});
    PrintAt(g, 1, 4, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    s.companionName.clear();
    s.reservedText.clear();
    return Scene::Town;
}

Scene TownMenu(Game& g) {
    DrawTownMenu(g);
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'M')) return Scene::EnterLabyrinth;
        if (IsKey(key, 'C')) return Scene::CharacterMenu;
        if (IsKey(key, 'S')) {
            g.s.shelfStart = 0;
            return Scene::ItemShop;
        }
        if (IsKey(key, 'I')) return Scene::Inn;
        if (IsKey(key, 'G')) return Scene::Guild;
        if (IsKey(key, 'T')) return Scene::Tavern;
    }
}

Scene Inn(Game& g) {
    if (!PayForTheNight(g)) return Scene::Town;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"日記をつけますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::Yes) SaveCharacter(g);
    ClearScreen(g);
    PrintAt(g, 1, 1, {"ぐっすりと眠りましたので体の疲れが取れました"_sj});
    PrintAt(g, 1, 2, {"何かキーを押すと宿屋を出ます"_sj});
    WaitForKey(g);
    return Scene::Town;
}

}  // namespace kestran::game
