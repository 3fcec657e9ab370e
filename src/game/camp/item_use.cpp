#include "game/camp/item_use.h"

#include "game/camp/inventory_screen.h"
#include "game/potion_effects.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "game/text_table.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

MenuExit TripHome(Game& g, double slot) {
    GameState& s = g.s;
    PrintAt(g, 1, 4, {s.heroName, "はまばゆい光に包まれ街に帰還しました"_sj});
    RemoveBackpackItem(s, slot);
    PromptForKey(g, 6);
    s.dungeonFloor = 0;
    s.stealthWalk = 0;
    return MenuExit::TripHome;
}

MenuExit UseItem(Game& g, double slot) {
    GameState& s = g.s;
    s.messageRow = 3;
    PrintAt(g, 1, 3, {s.inventoryName(slot), "を使いました"_sj});
    const PbString code = s.inventoryCode(slot);
    ApplyPotion(g, code, kCampPotionWords);
    if (PotionCure(code) == kCarriesHome) return TripHome(g, slot);
    PromptForKey(g, s.messageRow + 2.0);
    RemoveBackpackItem(s, slot);
    return MenuExit::Returned;
}

void DrawChoice(Game& g, std::string_view prompt) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {prompt});
    PrintItemChoices(g);
    PrintBackHint(g);
}

// The slot of a "P" item picked by its digit (a non-digit picks slot 0), or -1 for "R".
double ChooseUsable(Game& g) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'R')) return -1;
        const double slot = PbVal(key);
        if (ItemType(g.s.inventoryCode(slot)) == "P") return slot;
        PrintBackHint(g);
    }
}

}  // namespace

MenuExit UseCarriedItem(Game& g) {
    GameState& s = g.s;
    if (!CarriesPotion(s)) {
        ShowNotice(g, {"使用できる道具を持っていません"_sj});
        return MenuExit::Returned;
    }
    for (;;) {
        DrawChoice(g, "使用する道具を数字キーで選んでください"_sj);
        const double slot = ChooseUsable(g);
        if (slot < 0) return MenuExit::Returned;
        ClearScreen(g);
        PrintAt(g, 1, 1, {"本当に"_sj, s.inventoryName(slot), "を使いますか？(Y/N)"_sj});
        if (ReadYesNo(g) == Answer::Yes) return UseItem(g, slot);
    }
}

void DiscardCarriedItem(Game& g) {
    GameState& s = g.s;
    if (s.inventoryName(0).empty()) return ShowNotice(g, {"捨てるものがありません"_sj});
    for (;;) {
        DrawChoice(g, "捨てる持ち物を数字キーで選んでください"_sj);
        const PbString key = ReadKey(g);
        if (IsKey(key, 'R')) return;
        const double slot = PbVal(key);
        ClearScreen(g);
        PrintAt(g, 1, 1, {s.inventoryName(slot), "を捨てますがよろしいですか？(Y/N)"_sj});
        if (ReadYesNo(g) == Answer::Yes) {
            ShowNotice(g, {s.inventoryName(slot), "を捨てました"_sj});
            return RemoveBackpackItem(s, slot);
        }
    }
}

}  // namespace kestran::game
