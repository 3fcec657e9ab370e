#include "game/camp/equipment.h"

#include <array>
#include <string_view>

#include "game/camp/inventory_screen.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "game/text_table.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr int kRightHand = 2;
constexpr int kLeftHand = 3;

// Where an item of each wearable type goes, and the message of putting it on.
struct Wearing {
    char type;
    int slot;
    std::string_view message;
};
constexpr std::array<Wearing, 4> kWearings{{
    {'A', 1, kText<"を鎧として装備しました">},
    {'H', 0, kText<"を頭に装備しました">},
    {'G', 4, kText<"を腕に装備しました">},
    {'B', 5, kText<"を脚に装備しました">},
}};

// The labels of the unequip screen, by slot.
constexpr std::array<std::string_view, kEquipSlots> kSlotChoices{
    kText<"( 0 )頭">, kText<"( 1 )胴">, kText<"( 2 )右手">, kText<"( 3 )左手">, kText<"( 4 )腕">, kText<"( 5 )脚">};

const Wearing* WearingOfType(std::string_view type) {
    for (const Wearing& w : kWearings) {
        if (type.size() == 1 && type[0] == w.type) return &w;
    }
    return nullptr;
}

bool IsHandItem(std::string_view type) {
    return type == "W" || type == "S";
}

bool CarriesWearable(GameState& s) {
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (!s.inventoryName(i).empty() && ItemType(s.inventoryCode(i)) != "P") return true;
    }
    return false;
}

bool WearsAnything(GameState& s) {
    for (int i = 0; i < kEquipSlots; ++i) {
        if (!s.equipName(i).empty()) return true;
    }
    return false;
}

// The hand named by "L" or "R"; other keys are dropped.
int ChooseHand(Game& g) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'L')) return kLeftHand;
        if (IsKey(key, 'R')) return kRightHand;
    }
}

void EquipInHand(Game& g, double slot) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.inventoryName(slot), "をどちらの手に装備しますか？(L/R)"_sj});
    const int hand = ChooseHand(g);
    const int otherHand = hand == kLeftHand ? kRightHand : kLeftHand;
    const bool otherHandHolds = !s.equipName(otherHand).empty();
    if (ItemNeedsBothHands(s.inventoryCode(slot)) && otherHandHolds) {
        ClearScreen(g);
        PrintAt(g, 1, 1, {s.inventoryName(slot), "は両手用の武器です"_sj});
        PrintAt(g, 1, 2, {"もう片方の手の装備をはずさなければ装備できません"_sj});
        return PromptForKey(g, 3);
    }
    if (otherHandHolds && ItemNeedsBothHands(s.equipCode(otherHand))) {
        return ShowNotice(g,
                          {"すでに両手用の武器を装備していますので"_sj, s.inventoryName(slot), "を装備できません"_sj});
    }
    SwapWithEquipment(s, slot, hand);
    PackInventory(s);
    const auto message = hand == kLeftHand ? "を左手に装備しました"_sj : "を右手に装備しました"_sj;
    PrintAt(g, 1, 3, {s.equipName(hand), message});
    PromptForKey(g, 4);
}

void Wear(Game& g, double slot, const Wearing& wearing) {
    GameState& s = g.s;
    SwapWithEquipment(s, slot, wearing.slot);
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.equipName(wearing.slot), wearing.message});
    PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
    PackInventory(s);
    WaitForKey(g);
}

// Puts on the item of `slot` after the strength test; false when the slot holds nothing wearable.
bool TryToEquip(Game& g, double slot) {
    GameState& s = g.s;
    const PbString type = ItemType(s.inventoryCode(slot));
    const Wearing* wearing = WearingOfType(type);
    if (!IsHandItem(type) && wearing == nullptr) return false;
    if (ItemStrengthNeeded(s.inventoryCode(slot)) > s.heroStats(kStrength)) {
        ShowNotice(g, {s.inventoryName(slot), "は重くて装備できませんでした"_sj});
    } else if (wearing != nullptr) {
        Wear(g, slot, *wearing);
    } else {
        EquipInHand(g, slot);
    }
    return true;
}

// The worn slot chosen by its digit, or -1 for "R"; digits of empty slots mean nothing.
int ChooseWornSlot(Game& g) {
    GameState& s = g.s;
    for (;;) {
        const PbString key = ReadKey(g);
        if (key.size() == 1 && key[0] >= '0' && key[0] < '0' + kEquipSlots) {
            const int slot = key[0] - '0';
            if (!s.equipName(slot).empty()) return slot;
        }
        if (IsKey(key, 'R')) return -1;
        PrintBackHint(g);
    }
}

void DrawUnequipChoice(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"装備をはずす個所を数字キーで選んでください"_sj});
    for (int i = 0; i < kEquipSlots; ++i)
        PrintAt(g, 25, i + 4, {kSlotChoices[static_cast<std::size_t>(i)]});
    for (int i = 0; i < kEquipSlots; ++i)
        PrintWornItem(g, 38, i);
    PrintBackHint(g);
}

}  // namespace

void EquipFromBackpack(Game& g) {
    if (!CarriesWearable(g.s)) return ShowNotice(g, {"装備するものがありません"_sj});
    ClearScreen(g);
    PrintAt(g, 1, 1, {"装備する持ち物を数字キーで選んでください"_sj});
    PrintItemChoices(g);
    PrintBackHint(g);
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'R')) return;
        if (TryToEquip(g, PbVal(key))) return;
        PrintBackHint(g);
    }
}

void UnequipToBackpack(Game& g) {
    GameState& s = g.s;
    if (!WearsAnything(s)) return ShowNotice(g, {"装備しているものはありません"_sj});
    if (!s.inventoryName(kBackpackSlots - 1).empty()) {
        return ShowNotice(g, {"持ち物に余裕がないので装備をはずせません"_sj});
    }
    DrawUnequipChoice(g);
    const int slot = ChooseWornSlot(g);
    if (slot < 0) return;
    ShowNotice(g, {s.equipName(slot), "をはずしました"_sj});
    for (int j = 0; j < kBackpackSlots; ++j) {
        if (s.inventoryName(j).empty()) return SwapWithEquipment(s, j, slot);
    }
}

}  // namespace kestran::game
