#include "game/dungeon/cell_events.h"
#include "game/dungeon/map_cells.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/state/tables.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

// Floor f holds items 0 to 20f - 1; floor 6 draws 0..119 and folds 100..119 onto 80..99.
double DrawItem(Game& g) {
    const double item = PbInt(double(PbRnd(g.rt)) * (20 * double(g.s.dungeonFloor)));
    return item > kItemCount - 1 ? item - 20 : item;
}

bool ChoosesToPickUp(Game& g, double item) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"?", s.itemGenericName(item), "を見つけました"_sj});
    PrintAt(g, 1, 2, {"どうしますか？"_sj});
    PrintAt(g, 55, 21, {"拾う(G)"_sj});
    PrintAt(g, 55, 22, {"捨てる(D)"_sj});
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'G')) return true;
        if (IsKey(key, 'D')) return false;
    }
}

void PutIntoSlot(GameState& s, double slot, double item) {
    s.inventoryTrueName(slot) = s.itemTrueName(item);
    s.inventoryName(slot) = "?" + s.itemGenericName(item);
    s.inventoryCode(slot) = s.itemCode(item);
}

void Received(Game& g, double slot) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {g.s.inventoryName(slot), "を手に入れました"_sj});
    PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
}

// The first free backpack slot, or -1.
double FreeSlot(GameState& s) {
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (s.inventoryName(i).empty()) return i;
    }
    return -1;
}

enum class Swap { Done, AskAgain, Cancelled };

// The full backpack: one carried item may be given up for the found one.
Swap OfferSwap(Game& g, double item) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"持ち物に余裕がありません"_sj});
    PrintAt(g, 1, 2, {"何か持ち物を捨ててください(0-9)"_sj});
    for (int i = 0; i < kBackpackSlots; ++i)
        PrintAt(g, 25, i + 5, {"(", float(i), ")", s.inventoryName(i)});
    PrintAt(g, 55, 22, {"やっぱりやめる(N)"_sj});
    const PbString key = ReadKey(g);
    if (IsKey(key, 'N')) return Swap::Cancelled;
    s.chosenSlot = PbStore(PbVal(key));
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.inventoryName(s.chosenSlot), "を捨てて ?"_sj, s.itemGenericName(item), "を拾います"_sj});
    PrintAt(g, 1, 2, {"よろしいですか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return Swap::AskAgain;
    PutIntoSlot(s, s.chosenSlot, item);
    Received(g, s.chosenSlot);
    return Swap::Done;
}

// True when the item went into the backpack; false when the player went back to the item.
bool PickUp(Game& g, double item) {
    for (;;) {
        const double slot = FreeSlot(g.s);
        if (slot >= 0) {
            PutIntoSlot(g.s, slot, item);
            Received(g, slot);
            return true;
        }
        const Swap swap = OfferSwap(g, item);
        if (swap == Swap::Done) return true;
        if (swap == Swap::Cancelled) return false;
    }
}

// True when the item was left; false when the player went back to it.
bool Leave(Game& g, double item) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"本当に ?"_sj, s.itemGenericName(item), "を捨てますか？(Y/N)"_sj});
    if (IsKey(ReadKey(g), 'N')) return false;
    PrintAt(g, 1, 3, {"?", s.itemGenericName(item), "を捨てました"_sj});
    PrintAt(g, 1, 4, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    return true;
}

}  // namespace

void FindItem(Game& g) {
    const double item = DrawItem(g);
    SetHeroCellEvent(g.s, "1");
    for (;;) {
        if (ChoosesToPickUp(g, item) ? PickUp(g, item) : Leave(g, item)) return;
    }
}

}  // namespace kestran::game
