#include "game/camp/inventory_screen.h"

#include <array>
#include <optional>
#include <string_view>

#include "game/camp/equipment.h"
#include "game/camp/item_use.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/text_table.h"

namespace kestran::game {
namespace {

// The equipment slots' body parts, by slot: head, body, right hand, left hand, arms, feet.
constexpr std::array<std::string_view, kEquipSlots> kBodyParts{kText<"頭">,   kText<"胴">, kText<"右手">,
                                                               kText<"左手">, kText<"腕">, kText<"脚">};

void DrawInventory(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, "の持ち物です"_sj});
    for (int i = 0; i < kEquipSlots; ++i)
        PrintAt(g, 6, i + 4, {kBodyParts[static_cast<std::size_t>(i)]});
    for (int i = 0; i < kEquipSlots; ++i)
        PrintWornItem(g, 13, i);
    PrintAt(g, 40, 4, {"背負い袋"_sj});
    if (s.inventoryName(0).empty()) PrintAt(g, 53, 4, {"何もありません"_sj});
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (!s.inventoryName(i).empty()) PrintAt(g, 53, i + 4, {s.inventoryName(i)});
    }
    PrintChoices(g, 18,
                 {"装備する(E)"_sj, "装備をはずす(T)"_sj, "道具を使う(U)"_sj, "持ち物を捨てる(D)"_sj, "戻る(R)"_sj});
}

// Reads keys until one means something and carries it out. Nothing: draw the screen again.
std::optional<MenuExit> RunChosenOperation(Game& g) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'R')) return MenuExit::Returned;
        if (IsKey(key, 'E')) {
            EquipFromBackpack(g);
        } else if (IsKey(key, 'T')) {
            UnequipToBackpack(g);
        } else if (IsKey(key, 'U')) {
            if (UseCarriedItem(g) == MenuExit::TripHome) return MenuExit::TripHome;
        } else if (IsKey(key, 'D')) {
            DiscardCarriedItem(g);
        } else {
            PrintBackHint(g);
            continue;
        }
        return std::nullopt;
    }
}

}  // namespace

MenuExit InventoryScreen(Game& g) {
    for (;;) {
        DrawInventory(g);
        if (const auto exit = RunChosenOperation(g)) return *exit;
    }
}

void PrintItemChoices(Game& g) {
    GameState& s = g.s;
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (!s.inventoryName(i).empty()) PrintAt(g, 25, i + 4, {"(", float(i), ")", s.inventoryName(i)});
    }
}

void PrintWornItem(Game& g, double column, int slot) {
    const PbString& name = g.s.equipName(slot);
    if (name.empty()) {
        PrintAt(g, column, slot + 4, {"装備していません"_sj});
    } else {
        PrintAt(g, column, slot + 4, {name});
    }
}

void PrintBackHint(Game& g) {
    PrintChoices(g, 22, {"戻る(R)"_sj});
}

void SwapWithEquipment(GameState& s, double packSlot, double equipSlot) {
    PbSwapString(s.inventoryTrueName(packSlot), s.equipTrueName(equipSlot));
    PbSwapString(s.inventoryName(packSlot), s.equipName(equipSlot));
    PbSwapString(s.inventoryCode(packSlot), s.equipCode(equipSlot));
}

}  // namespace kestran::game
