#include "game/state/start_up.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "game/state/code_fields.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::game {
namespace {

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() { InitializeGameState(s); }
    GameState s;
};

TEST_F(StartUpTest, ArraysHaveTheirSizes) {
    const std::map<const PbArray<PbString>*, int> strings = {
        {&s.attributeNames, 7}, {&s.inventoryCode, 10}, {&s.equipCode, 6},          {&s.learnedPriestSpells, 10},
        {&s.shopStock, 100},    {&s.itemCode, 100},     {&s.monsterTableCode, 100}, {&s.abilityNames, 30},
        {&s.monsterName, 3},    {&s.viewWalls, 6}};
    for (const auto& [array, extent] : strings)
        EXPECT_EQ(array->extent(0), extent);
    EXPECT_EQ(s.heroStats.extent(0), 11);
    EXPECT_EQ(s.pointsAdded.extent(0), 7);
    EXPECT_EQ(s.monsterPower.extent(0), 3);
    EXPECT_EQ(s.mapEvents.extent(0) * 100 + s.mapEvents.extent(1), 620);
    EXPECT_EQ(s.mapWalls.extent(0) * 100 + s.mapWalls.extent(1), 620);
}

TEST_F(StartUpTest, HeroIsHealthyAloneAndShopHasTheStartStock) {
    EXPECT_EQ(s.bodyState, "\x92\xca\x8f\xed");          // 通常
    EXPECT_EQ(s.attributeNames(0), "\x8b\xd8\x97\xcd");  // 筋力
    EXPECT_EQ(s.attributeNames(6), "精神力"_sj.view());
    EXPECT_TRUE(s.companionName.empty());
    const std::set<int> onSale = {0, 1, 3, 5, 6, 8, 11, 13, 15, 18, 19, 37, 38, 39, 79};
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(s.shopStock(i), onSale.count(i) ? "1" : "") << "item " << i;
}

TEST_F(StartUpTest, AbilityNamesAreLoadedByTheGuildAndAreDistinct) {
    EXPECT_TRUE(s.abilityNames(0).empty());
    LoadAbilityNames(s);
    LoadAbilityNames(s);
    std::set<std::string> names;
    for (int i = 0; i < 30; ++i)
        names.insert(s.abilityNames(i));
    EXPECT_EQ(names.size(), 30u);
    EXPECT_EQ(names.count(""), 0u);
    EXPECT_EQ(s.abilityNames(6), "忍び足"_sj.view());  // compared with literally elsewhere
    EXPECT_EQ(s.abilityNames(29), "戦神の怒り"_sj.view());
}

TEST_F(StartUpTest, NamesAreShiftJisBytes) {
    EXPECT_EQ(s.itemTrueName(99), "\x83\x94\x83\x46\x83\x8b\x83\x68\x83\x8a\x83\x93\x83\x4b");  // ヴェルドリンガ
    EXPECT_EQ(s.itemTrueName(94), "\x8e\xe7\x82\xe8\x82\xcc\x98\x55\x8e\xe8");                  // 守りの篭手
    EXPECT_EQ(s.monsterTableName(20), "\x83\x7d\x83\x93\x82\x6e\x83\x65\x83\x42\x83\x41");      // マンＯティア
    EXPECT_EQ(s.itemTrueName(21), "ショートソード+1"_sj.view());                                // ASCII plus
}

// The kind name shown before identification belongs to one type letter.
char TypeOfKind(const std::string& kind) {
    static const std::map<std::string, char> kinds = {
        {"ダガー"_sj, 'W'},   {"ソード"_sj, 'W'},     {"アックス"_sj, 'W'}, {"メイス"_sj, 'W'},
        {"スタッフ"_sj, 'W'}, {"巨大な武器"_sj, 'W'}, {"シールド"_sj, 'S'}, {"アーマー"_sj, 'A'},
        {"キャップ"_sj, 'H'}, {"ヘルム"_sj, 'H'},     {"グローブ"_sj, 'G'}, {"ガントレット"_sj, 'G'},
        {"ブーツ"_sj, 'B'},   {"薬"_sj, 'P'},         {"石"_sj, 'P'}};
    auto it = kinds.find(kind);
    return it == kinds.end() ? '?' : it->second;
}

TEST_F(StartUpTest, ItemCodesFollowTheFieldRules) {
    std::set<std::string> trueNames;
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        const std::string& code = s.itemCode(i);
        ASSERT_FALSE(code.empty());
        const char type = code[0];
        EXPECT_EQ(ItemType(code), std::string(1, type));
        EXPECT_EQ(type, TypeOfKind(s.itemGenericName(i)));
        EXPECT_EQ(code.size(), type == 'P' ? 16u : (type == 'W' || type == 'S') ? 13u : 12u);
        EXPECT_EQ(code.find_first_not_of("0123456789", 1), std::string::npos);
        EXPECT_EQ(ItemPrice(code), std::stod(code.substr(code.size() - 5)));
        EXPECT_GT(ItemPrice(code), 0);
        // Position 8 is a hand flag only for "W" and "S"; shields take one hand.
        EXPECT_TRUE(type != 'S' || code[7] == '0');
        EXPECT_TRUE(type != 'W' || code[7] == '0' || code[7] == '1');
        EXPECT_TRUE(type != 'P' || PotionCure(code) <= 4);
        EXPECT_TRUE(type == 'P' || ItemPower(code) > 0);
        trueNames.insert(s.itemTrueName(i));
    }
    EXPECT_EQ(trueNames.size(), 100u);  // identification and restocking go by true name
}

TEST_F(StartUpTest, MonsterCodesFollowTheFieldRules) {
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE("monster " + std::to_string(i));
        const std::string& code = s.monsterTableCode(i);
        EXPECT_EQ(s.monsterTableName(i).empty(), i > 30);
        if (i > 30) continue;
        ASSERT_EQ(code.size(), 6u);
        EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos);
        EXPECT_TRUE((code[0] == '0' || code[0] == '1') && (code[2] == '0' || code[2] == '1'));
        EXPECT_LE(MonsterAffliction(code), 3);
        EXPECT_GT(MonsterHitPoints(code), 0);
    }
    EXPECT_EQ(MonsterHitPoints(s.monsterTableCode(30)), 700);
}

}  // namespace
}  // namespace kestran::game
