#include "game/potion_effects.h"
#include "game/fight/fight_internal.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "runtime/values/numbers.h"

namespace kestran::game::fight {
namespace {

void DrawItemList(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"使用する道具を数字キーで選んでください"_sj});
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (!s.inventoryName(i).empty()) PrintAt(g, 25, i + 4, {"(", float(i), ")", s.inventoryName(i)});
    }
    PrintChoices(g, 22, {"戻る(R)"_sj});
}

// The slot of a potion chosen and confirmed, or -1 for "R". An empty slot reads the next key;
// items of no use in a fight say so and show the list again.
double ChoosePotion(Game& g) {
    GameState& s = g.s;
    for (;;) {
        DrawItemList(g);
        for (bool listShown = true; listShown;) {
            const PbString key = ReadKey(g);
            if (IsKey(key, 'R')) return -1;
            const double slot = PbVal(key);
            if (s.inventoryName(slot).empty()) continue;
            listShown = false;
            const PbString& code = s.inventoryCode(slot);
            if (ItemType(code) != "P" || PotionCure(code) == kCarriesHome) {
                ShowNotice(g, {s.inventoryName(slot), "は戦闘中に使うことができません"_sj});
                continue;
            }
            ClearScreen(g);
            PrintAt(g, 1, 1, {"本当に"_sj, s.inventoryName(slot), "を使いますか？(Y/N)"_sj});
            if (ReadYesNo(g) == Answer::Yes) return slot;
        }
    }
}

}  // namespace

FightState UseItem(Game& g) {
    GameState& s = g.s;
    if (!CarriesPotion(s)) {
        ShowNotice(g, {"使用できる道具を持っていません"_sj});
        return FightState::Continues;
    }
    const double slot = ChoosePotion(g);
    if (slot < 0) return FightState::Continues;
    s.messageRow = 3;
    PrintAt(g, 1, 3, {s.heroName, "は"_sj, s.inventoryName(slot), "を使った！"_sj});
    ApplyPotion(g, s.inventoryCode(slot), kFightPotionWords);
    PromptForKey(g, s.messageRow + 2.0);
    RemoveBackpackItem(s, slot);
    s.monstersActed = 0;
    if (s.surprise == 1) {
        s.surprise = 0;
        s.monstersActed = 1;
    }
    return EndOfTurn(g);
}

}  // namespace kestran::game::fight
