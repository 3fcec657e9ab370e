#include "game/state/hero_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/state/code_fields.h"
#include "game/state/start_up.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::game {
namespace {

class HeroRulesTest : public ::testing::Test {
protected:
    HeroRulesTest() { InitializeGameState(s); }

    void SetAttributes(std::vector<float> values, float level) {
        for (std::size_t i = 0; i < values.size(); ++i)
            s.heroStats(static_cast<double>(i)) = values[i];
        s.heroLevel = level;
    }

    // One letter per backpack slot ('.' = free); each slot's three strings hold the same letter.
    void FillBackpack(const std::string& letters) {
        for (int i = 0; i < 10; ++i) {
            const std::string v = letters[static_cast<std::size_t>(i)] == '.' ? "" : letters.substr(i, 1);
            s.inventoryTrueName(i) = s.inventoryName(i) = s.inventoryCode(i) = v;
        }
    }
    std::string Backpack() {
        std::string out;
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(s.inventoryName(i) == s.inventoryTrueName(i) && s.inventoryCode(i) == s.inventoryTrueName(i))
                << "slot " << i << " was split";
            out += s.inventoryTrueName(i).empty() ? "." : s.inventoryTrueName(i);
        }
        return out;
    }

    GameState s;
};

TEST_F(HeroRulesTest, DerivedStatsOfStrengthAndEnduranceTenAtLevelOne) {
    SetAttributes({10, 0, 0, 0, 0, 10, 0}, 1);
    ComputeDerivedStats(s);
    EXPECT_EQ(s.heroStats(7), 54);
    EXPECT_EQ(s.maxHp, 54);
    EXPECT_EQ(s.damageBonus, 5);
}

TEST_F(HeroRulesTest, EachDerivedValueUsesItsOwnAttributes) {
    SetAttributes({10, 11, 12, 13, 14, 10, 16}, 3);
    s.heroStats(8) = 1;  // spent points come back full
    ComputeDerivedStats(s);
    EXPECT_EQ(s.heroStats(8), 71);
    EXPECT_EQ(s.maxMp, 71);
    EXPECT_EQ(s.heroStats(9), 73);
    EXPECT_EQ(s.maxTp, 73);
    EXPECT_EQ(s.damageBonus, 6);      // 3.33 + 2 + 1.5
    EXPECT_EQ(s.hitBonus, 8);         // 4.67 + 2 + 1.5
    EXPECT_EQ(s.evadeBonus, 8);       // 6.75 + 1.5
    EXPECT_EQ(s.physicalDefense, 7);  // 5.75 + 1.5
    EXPECT_EQ(s.magicDefense, 8);     // 2.875 + 4 + 1.5
}

TEST_F(HeroRulesTest, LevelUpFormCapsPointsButNotBonuses) {
    SetAttributes({100, 400, 400, 300, 400, 400, 100}, 50);
    ComputeDerivedStats(s);
    EXPECT_EQ(s.maxHp, 1314);
    ComputeDerivedStatsCapped(s);
    EXPECT_EQ(s.heroStats(7), 999);
    EXPECT_EQ(s.maxMp, 999);
    EXPECT_EQ(s.maxTp, 999);
    EXPECT_EQ(s.damageBonus, 60);
}

TEST_F(HeroRulesTest, PackInventoryCarriesOneGapToTheEnd) {
    FillBackpack("abcd.fghij");
    PackInventory(s);
    EXPECT_EQ(Backpack(), "abcdfghij.");
    FillBackpack(".bcde.....");
    PackInventory(s);
    EXPECT_EQ(Backpack(), "bcde......");
    FillBackpack("abcdefghi.");  // the only gap already last
    PackInventory(s);
    EXPECT_EQ(Backpack(), "abcdefghi.");
}

TEST_F(HeroRulesTest, BodyStateTestsAndTransitions) {
    const std::string normal = "\x92\xca\x8f\xed", poison = "\x93\xc5", disease = "\x95\x61\x8b\x43";
    const std::string both = "\x93\xc5\x81\x40\x95\x61\x8b\x43";  // joined by the full-width blank
    EXPECT_EQ(both, "毒　病気"_sj.view());
    struct Case {
        std::string state;
        bool poisoned, diseased;
        std::string addPoison, addDisease, curePoison, cureDisease;
    };
    for (const Case& c : std::vector<Case>{{normal, false, false, poison, disease, normal, normal},
                                           {poison, true, false, poison, both, normal, poison},
                                           {disease, false, true, both, disease, disease, normal},
                                           {both, true, true, both, both, disease, poison}}) {
        s.bodyState = c.state;
        EXPECT_EQ(IsPoisoned(s), c.poisoned) << c.state;
        EXPECT_EQ(IsDiseased(s), c.diseased) << c.state;
        for (auto [op, expected] : {std::pair{&AddPoison, c.addPoison}, std::pair{&AddDisease, c.addDisease},
                                    std::pair{&CurePoison, c.curePoison}, std::pair{&CureDisease, c.cureDisease}}) {
            s.bodyState = c.state;
            op(s);
            EXPECT_EQ(s.bodyState, expected) << c.state;
        }
    }
}

TEST_F(HeroRulesTest, BodyStateTestsWalkDoubleByteCharacters) {
    s.bodyState =
        "\x81\x8b"
        "C";  // ends in the bytes of 気, but its last character is "C"
    EXPECT_FALSE(IsDiseased(s));
    s.bodyState = "x\x93\xc5";  // holds 毒, but not as its first character
    EXPECT_FALSE(IsPoisoned(s));
    s.bodyState.clear();
    EXPECT_FALSE(IsPoisoned(s) || IsDiseased(s));
}

TEST(CodeFieldsTest, ItemsPotionsAndMonsters) {
    EXPECT_EQ(ItemType("W200225000400"), "W");
    EXPECT_EQ(ItemPower("W200225000400"), 20);
    EXPECT_EQ(ItemHitOrResistance("W200225000400"), 2);
    EXPECT_EQ(ItemStrengthNeeded("W200225000400"), 25);
    EXPECT_FALSE(ItemNeedsBothHands("W200225000400"));
    EXPECT_TRUE(ItemNeedsBothHands("W400530101000"));
    EXPECT_EQ(ItemPrice("W200225000400"), 400);
    EXPECT_EQ(ItemPower("A03001500300"), 3);
    EXPECT_EQ(ItemHitOrResistance("A20101530000"), 10);
    EXPECT_EQ(ItemStrengthNeeded("A03001500300"), 15);
    EXPECT_EQ(ItemPrice("A03001500300"), 300);
    EXPECT_EQ(PotionHitPoints("P005000000000050"), 50);
    EXPECT_EQ(PotionCure("P310005005002000"), 3);
    EXPECT_EQ(PotionHitPoints("P310005005002000"), 100);
    EXPECT_EQ(PotionMagicPoints("P310005005002000"), 50);
    EXPECT_EQ(PotionTechniquePoints("P310005005002000"), 50);
    EXPECT_EQ(ItemPrice("P310005005002000"), 2000);
    EXPECT_TRUE(MonsterBreathes("131700") && MonsterCastsSpell("131700"));
    EXPECT_EQ(MonsterAffliction("131700"), 3);
    EXPECT_EQ(MonsterHitPoints("131700"), 700);
    EXPECT_FALSE(MonsterBreathes("020040") || MonsterCastsSpell("020040"));
    EXPECT_EQ(MonsterAffliction("020040"), 2);
    // A free slot's empty code reads as nothing rather than failing.
    EXPECT_EQ(ItemType(""), "");
    EXPECT_EQ(ItemPrice(""), 0);
    EXPECT_EQ(MonsterHitPoints(""), 0);
}

}  // namespace
}  // namespace kestran::game
