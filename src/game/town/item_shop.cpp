#include "game/town/item_shop.h"

#include "game/backpack_list.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/language/translate.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "game/state/tables.h"
#include "runtime/console/screen.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

constexpr int kShelfSize = 10;

bool OnSale(GameState& s, int item) {
    return s.shopStock(item) == "1";
}

// The item table index of the item of rank `rank` among those on sale, or -1.
int ItemOfRank(GameState& s, double rank) {
    double r = 0;
    for (int i = 0; i < kItemCount; ++i) {
        if (!OnSale(s, i)) continue;
        if (r == rank) return i;
        ++r;
    }
    return -1;
}

void ShowShelfRow(Game& g, int item, double shelfNumber) {
    GameState& s = g.s;
    const PbString& code = s.itemCode(item);
    const double row = shelfNumber + 5;
    PbLocate(g.rt, 15, row);
    PbPrintUsing(g.rt, "(## )", {shelfNumber}, PbSep::Semicolon);
    PbPrintString(g.rt, Tr(g, s.itemTrueName(item)), PbSep::End);
    if (ItemType(code) != "P") {
        PbLocate(g.rt, 45, row);
        PbPrintUsing(g.rt, "ST ##", {ItemStrengthNeeded(code)}, PbSep::End);
    }
    PbLocate(g.rt, 57, row);
    PbPrintUsing(g.rt, "##### G", {ItemPrice(code)}, PbSep::End);
}

void DrawShop(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"ここは道具屋です"_sj});
    PrintAt(g, 1, 2, {"欲しい物を数字キーで選んでください"_sj});
    ShowShelf(g);
    PrintAt(g, 5, 21, {"所持金  "_sj, g.s.gold, "G"});
    PrintChoices(
        g, 18,
        {"次の棚を見る(N)"_sj, "前の棚を見る(F)"_sj, "持ち物を鑑定する(I)"_sj, "持ち物を売る(S)"_sj, "店を出る(E)"_sj});
}

void Message(Game& g, std::initializer_list<PrintItem> first) {
    ClearScreen(g);
    PrintAt(g, 1, 1, first);
    PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
}

// The purchase question: the warning for an item too heavy for the hero, else the plain one.
bool ConfirmPurchase(Game& g, int item) {
    GameState& s = g.s;
    ClearScreen(g);
    if (ItemType(s.itemCode(item)) != "P" && s.requiredStat > s.heroStats(kStrength)) {
        PrintAt(g, 1, 1, {s.itemTrueName(item), "は重くて装備できません"_sj});
        PrintAt(g, 1, 2, {"それでも購入しますか？(Y/N)"_sj});
    } else {
        PrintAt(g, 1, 1, {s.itemTrueName(item), "を購入します"_sj});
        PrintAt(g, 1, 2, {"よろしいですか？(Y/N)"_sj});
    }
    return ReadYesNo(g) == Answer::Yes;
}

int FreeBackpackSlot(GameState& s) {
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (s.inventoryTrueName(i).empty()) return i;
    }
    return -1;
}

bool IsUnidentified(const PbString& name) {
    return PbLeft(name, 1) == "?";
}

bool SlotFree(GameState& s, double slot) {
    return s.inventoryName(slot).empty();
}

// Identifies the chosen unidentified slot after its question, when the player has the fee.
void IdentifyChosen(Game& g) {
    GameState& s = g.s;
    const double slot = s.chosenSlot;
    ClearScreen(g);
    s.fee = PbStore(PbInt(ItemPrice(s.inventoryCode(slot)) / 4));
    PrintAt(g, 1, 1, {s.inventoryName(slot), "を鑑定するには"_sj, s.fee, "ゴールド必要です"_sj});
    PrintAt(g, 1, 2, {"よろしいですか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return;
    if (s.fee > s.gold) {
        Message(g, {"お金が足りません"_sj});
        return;
    }
    ClearScreen(g);
    PrintAt(g, 1, 1, {"鑑定しました"_sj});
    PrintAt(g, 1, 2, {s.inventoryName(slot), "は"_sj, s.inventoryTrueName(slot), "でした"_sj});
    s.inventoryName(slot) = s.inventoryTrueName(slot);
    s.gold = PbStore(double(s.gold) - s.fee);
    PrintAt(g, 1, 4, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
}

// Sells the chosen slot after its question.
void SellChosen(Game& g) {
    GameState& s = g.s;
    const double slot = s.chosenSlot;
    const PbString& name = s.inventoryName(slot);
    s.fee = IsUnidentified(name) ? 1 : PbStore(PbInt(ItemPrice(s.inventoryCode(slot)) / 4));
    ClearScreen(g);
    PrintAt(g, 1, 1, {name, "は"_sj, s.fee, "ゴールドで売ることができます"_sj});
    PrintAt(g, 1, 2, {"よろしいですか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return;
    s.gold = PbStore(double(s.gold) + s.fee);
    for (int i = 0; i < kItemCount; ++i) {
        if (s.itemTrueName(i) == name) s.shopStock(i) = "1";
    }
    Message(g, {name, "を売りました"_sj});
    RemoveBackpackItem(s, slot);
}

}  // namespace

void ShowShelf(Game& g) {
    GameState& s = g.s;
    double rank = 0;
    int shown = 0;
    for (int i = 0; i < kItemCount && shown < kShelfSize; ++i) {
        if (!OnSale(s, i)) continue;
        if (rank >= s.shelfStart && rank <= s.shelfStart + 9) {
            ShowShelfRow(g, i, rank - s.shelfStart);
            ++shown;
        }
        ++rank;
    }
}

void NextShelf(Game& g) {
    GameState& s = g.s;
    s.shelfStart = PbStore(s.shelfStart + 10.0);
    double count = 0;
    for (int i = 0; i < kItemCount; ++i) {
        if (OnSale(s, i)) ++count;
    }
    if (count <= s.shelfStart) s.shelfStart = PbStore(s.shelfStart - 10.0);
}

void PreviousShelf(Game& g) {
    GameState& s = g.s;
    if (s.shelfStart > 9) s.shelfStart = PbStore(s.shelfStart - 10.0);
}

void BuyItem(Game& g, std::string_view key) {
    GameState& s = g.s;
    const int item = ItemOfRank(s, PbVal(key) + s.shelfStart);
    if (item < 0) return;
    const PbString& code = s.itemCode(item);
    s.price = PbStore(ItemPrice(code));
    s.requiredStat = PbStore(ItemStrengthNeeded(code));
    if (s.price > s.gold) return Message(g, {"お金が足りません"_sj});
    if (!ConfirmPurchase(g, item)) return;
    const int slot = FreeBackpackSlot(s);
    if (slot < 0) {
        ClearScreen(g);
        PrintAt(g, 1, 1, {"持ち物に余裕がありません"_sj});
        PrintAt(g, 1, 2, {s.itemTrueName(item), "を購入できませんでした"_sj});
        PrintAt(g, 1, 3, {"何かキーを押して下さい"_sj});
        WaitForKey(g);
        return;
    }
    s.gold = PbStore(double(s.gold) - s.price);
    s.inventoryTrueName(slot) = s.itemTrueName(item);
    s.inventoryName(slot) = s.itemTrueName(item);
    s.inventoryCode(slot) = code;
    Message(g, {s.inventoryName(slot), "を購入しました"_sj});
}

void IdentifyItem(Game& g) {
    GameState& s = g.s;
    for (;;) {
        ClearScreen(g);
        if (SlotFree(s, 0)) {
            PrintAt(g, 1, 1, {"何も道具を持っていません"_sj});
            PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
            WaitForKey(g);
            return;
        }
        ListBackpack(g, "どの持ち物を鑑定しますか？"_sj, "数字キーで鑑定する物を選んでください"_sj,
                     "鑑定するのをやめる(N)"_sj);
        const PbString key = ReadKey(g);
        if (IsKey(key, 'N')) return;
        s.chosenSlot = PbStore(PbVal(key));
        if (IsUnidentified(s.inventoryName(s.chosenSlot))) {
            IdentifyChosen(g);
        } else if (!SlotFree(s, s.chosenSlot)) {
            Message(g, {"その持ち物はすでに鑑定されています"_sj});
        }
    }
}

void SellItem(Game& g) {
    GameState& s = g.s;
    if (SlotFree(s, 0)) return Message(g, {"何も道具を持っていません"_sj});
    while (!SlotFree(s, 0)) {
        ClearScreen(g);
        ListBackpack(g, "どれを売りますか？"_sj, "数字キーで売りたい物を選んでください"_sj, "売るのをやめる(N)"_sj);
        const PbString key = ReadKey(g);
        if (IsKey(key, 'N')) return;
        s.chosenSlot = PbStore(PbVal(key));
        if (!SlotFree(s, s.chosenSlot)) SellChosen(g);
    }
}

Scene ItemShop(Game& g) {
    for (;;) {
        DrawShop(g);
        const PbString key = ReadKey(g);
        if (IsKey(key, 'E')) return Scene::Town;
        if (IsKey(key, 'S')) {
            SellItem(g);
        } else if (IsKey(key, 'N')) {
            NextShelf(g);
        } else if (IsKey(key, 'F')) {
            PreviousShelf(g);
        } else if (IsKey(key, 'I')) {
            IdentifyItem(g);
        } else {
            BuyItem(g, key);
        }
    }
}

}  // namespace kestran::game
