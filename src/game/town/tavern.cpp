#include "game/town/tavern.h"

#include "game/game_screen.h"
#include "game/hero/companions.h"

namespace kestran::game {
namespace {

Scene AlreadyInvited(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"すでに"_sj, g.s.companionName, "を誘っています"_sj});
    PrintAt(g, 1, 2, {"約束を破っては可哀想ですので迷宮に行ってください"_sj});
    PrintAt(g, 1, 3, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    return Scene::Town;
}

void DrawTavern(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"ここは酒場です"_sj});
    PrintAt(g, 1, 2, {"迷宮を探索する仲間を一人誘うことができます"_sj});
    PrintAt(g, 1, 3, {"誘いに応じてくれそうなのは次の人たちです"_sj});
    PrintAt(g, 1, 4, {"声をかける人を数字キーで選んでください"_sj});
    int row = 8;
    for (const Companion& c : Companions())
        PrintAt(g, 25, row++, {c.listText});
    PrintChoices(g, 22, {"酒場を出る(E)"_sj});
}

// The companion chosen by a digit key, or null when the player leaves with "E".
const Companion* ChooseCompanion(Game& g) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (key.size() == 1 && key[0] >= '0' && key[0] < '0' + kCompanionCount) return &Companions()[key[0] - '0'];
        if (IsKey(key, 'E')) return nullptr;
    }
}

}  // namespace

Scene Tavern(Game& g) {
    GameState& s = g.s;
    if (!s.companionName.empty()) return AlreadyInvited(g);
    for (;;) {
        DrawTavern(g);
        const Companion* chosen = ChooseCompanion(g);
        if (!chosen) return Scene::Town;
        s.companionName = chosen->name;
        ClearScreen(g);
        PrintAt(g, 1, 1, {s.companionName, "を誘いますか？(Y/N)"_sj});
        if (ReadYesNo(g) == Answer::Yes) break;
        s.companionName.clear();
    }
    if (const Companion* c = CompanionByFirstCharacter(s.companionName)) s.companionLine = c->hiredLine;
    PrintAt(g, 1, 3, {s.companionName, s.companionLine});
    PrintAt(g, 1, 5, {s.companionName, "を誘いました"_sj});
    PrintAt(g, 1, 6, {"何かキーを押すと酒場を出ます"_sj});
    WaitForKey(g);
    return Scene::Town;
}

}  // namespace kestran::game
