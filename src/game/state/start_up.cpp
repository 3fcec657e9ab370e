#include "game/state/start_up.h"

#include "game/state/tables.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::game {
namespace {

constexpr int kBackpackSlots = 10;
constexpr int kEquipSlots = 6;
constexpr int kLearnedSlots = 10;
constexpr int kMonsterSlots = 100;
constexpr int kViewCells = 6;
constexpr int kGroupSize = 3;

// Items on the shop's shelves when the program starts.
constexpr int kStartStock[] = {0, 1, 3, 5, 6, 8, 11, 13, 15, 18, 19, 37, 38, 39, 79};

// Arrays are dimensioned by their highest index.
void DimCount(PbArray<float>& a, int count, std::source_location where) {
    a.Dim(count - 1, where);
}
void DimCount(PbArray<PbString>& a, int count, std::source_location where) {
    a.Dim(count - 1, where);
}

void DimensionHeroArrays(GameState& s, std::source_location where) {
    DimCount(s.heroStats, 11, where);
    DimCount(s.attributeNames, 7, where);
    DimCount(s.pointsAdded, 7, where);
    for (auto* a : {&s.inventoryTrueName, &s.inventoryName, &s.inventoryCode})
        DimCount(*a, kBackpackSlots, where);
    for (auto* a : {&s.equipTrueName, &s.equipName, &s.equipCode})
        DimCount(*a, kEquipSlots, where);
    for (auto* a : {&s.learnedSkills, &s.learnedMageSpells, &s.learnedPriestSpells}) {
        DimCount(*a, kLearnedSlots, where);
    }
}

void DimensionWorldArrays(GameState& s, std::source_location where) {
    DimCount(s.abilityNames, kAbilityCount, where);
    DimCount(s.shopStock, kItemCount, where);
    for (auto* a : {&s.itemTrueName, &s.itemGenericName, &s.itemCode})
        DimCount(*a, kItemCount, where);
    DimCount(s.monsterTableName, kMonsterSlots, where);
    DimCount(s.monsterTableCode, kMonsterSlots, where);
    s.mapWalls.Dim(kFloorCount - 1, kFloorSize - 1, where);
    s.mapEvents.Dim(kFloorCount - 1, kFloorSize - 1, where);
    DimCount(s.monsterName, kGroupSize, where);
    DimCount(s.monsterHp, kGroupSize, where);
    DimCount(s.monsterPower, kGroupSize, where);
    DimCount(s.viewCells, kViewCells, where);
    DimCount(s.viewWalls, kViewCells, where);
}

void NameAttributes(GameState& s, std::source_location where) {
    s.attributeNames(0, where) = "筋力"_sj;
    s.attributeNames(1, where) = "知力"_sj;
    s.attributeNames(2, where) = "信仰心"_sj;
    s.attributeNames(3, where) = "敏捷性"_sj;
    s.attributeNames(4, where) = "器用度"_sj;
    s.attributeNames(5, where) = "耐久力"_sj;
    s.attributeNames(6, where) = "精神力"_sj;
}

}  // namespace

void InitializeGameState(GameState& s, std::source_location where) {
    DimensionHeroArrays(s, where);
    DimensionWorldArrays(s, where);
    NameAttributes(s, where);
    s.bodyState = "通常"_sj;
    s.companionName.clear();
    for (int item : kStartStock)
        s.shopStock(item, where) = "1";
    LoadItemAndMonsterTables(s, where);
    LoadFloorMaps(s, where);
}

void LoadItemAndMonsterTables(GameState& s, std::source_location where) {
    const auto items = ItemTable();
    for (int i = 0; i < kItemCount; ++i) {
        s.itemTrueName(i, where) = items[i].trueName.view();
        s.itemGenericName(i, where) = items[i].genericName.view();
        s.itemCode(i, where) = items[i].code;
    }
    const auto monsters = MonsterTable();
    for (int i = 0; i < kMonsterCount; ++i) {
        s.monsterTableName(i, where) = monsters[i].name.view();
        s.monsterTableCode(i, where) = monsters[i].code;
    }
}

void LoadAbilityNames(GameState& s, std::source_location where) {
    const auto names = AbilityNameTable();
    for (int i = 0; i < kAbilityCount; ++i)
        s.abilityNames(i, where) = names[i].view();
}

void LoadFloorMaps(GameState& s, std::source_location where) {
    const auto floors = StartFloorRows();
    for (int f = 0; f < kFloorCount; ++f) {
        for (int y = 0; y < kFloorSize; ++y) {
            s.mapWalls(f, y, where) = floors[f][y].walls;
            s.mapEvents(f, y, where) = floors[f][y].events;
        }
    }
}

}  // namespace kestran::game
