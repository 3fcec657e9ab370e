// The mage and priest menus of the character menu: the return to town and the healing and
// curing spells.
#include "game/abilities/spell_menus.h"

#include "game/camp/camp_fixture.h"
#include "game/game_screen.h"
#include "runtime/values/numbers.h"

namespace kestran::game::testing {
namespace {

class SpellMenuTest : public CampTest {
protected:
    void LearnPriest(std::initializer_list<const char*> spells) {
        int i = 0;
        for (const char* spell : spells) {
            std::string sjis;
            ASSERT_TRUE(Utf8ToSjis(spell, sjis));
            s.learnedPriestSpells(i++) = sjis;
        }
    }
    // Casts `spell` (UTF-8) with the answer "Y" and a key for the result.
    void Cast(const char* spell) {
        std::string sjis;
        ASSERT_TRUE(Utf8ToSjis(spell, sjis));
        Keys("Yx");
        ASSERT_TRUE(Play([&] { CastPriestSpell(g, sjis); })) << spell;
        EXPECT_FALSE(KeysLeft()) << spell;
    }
};

TEST_F(SpellMenuTest, WithoutTheReturnCDrawsTheMageMenuAgain) {
    s.learnedMageSpells(0) = "魔法の矢"_sj;
    Keys("cr");
    ASSERT_TRUE(Play([&] { MageSpellMenu(g); }));
    EXPECT_EQ(Row(21), "");
    EXPECT_EQ(s.heroStats(kMagicPoints), 80);
}

TEST_F(SpellMenuTest, TheReturnNeedsFifteenPointsAndItsYes) {
    s.learnedMageSpells(0) = "帰還"_sj;
    s.dungeonFloor = 0;
    s.heroStats(kMagicPoints) = 14;
    Keys("Cx");
    EXPECT_FALSE(Play([&] { MageSpellMenu(g); }));
    EXPECT_EQ(Row(1), " CAMPERが習得している魔術師呪文です");
    ClearScreen(g);
    Keys("Cx");
    MenuExit exit = MenuExit::TripHome;
    ASSERT_TRUE(Play([&] { exit = CastReturn(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
    EXPECT_EQ(Row(1), " 帰還の呪文を唱えるにはマジックポイントが足りません");

    s.heroStats(kMagicPoints) = 15;
    Keys("xn");
    ASSERT_TRUE(Play([&] { exit = CastReturn(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
    EXPECT_EQ(Row(1), " 本当に帰還の呪文を唱えますか？(Y/N)");
    EXPECT_EQ(s.heroStats(kMagicPoints), 15);
}

TEST_F(SpellMenuTest, HeavyHealingAddsFiftyOneToSeventy) {
    LearnPriest({"重傷を癒す"});
    s.maxHp = 300;
    s.heroStats(kHitPoints) = 10;
    const double gain = PbInt(double(PeekRnd()) * 20 + 51);
    Cast("重傷を癒す");
    EXPECT_EQ(s.heroStats(kHitPoints), 10 + gain);
    EXPECT_GE(gain, 51);
    EXPECT_LE(gain, 70);
    EXPECT_EQ(s.heroStats(kMagicPoints), 62);
    EXPECT_EQ(Row(3), " CAMPERは重傷を癒すを唱えました");
}

TEST_F(SpellMenuTest, ACureIsPaidWithNothingToCure) {
    LearnPriest({"解毒"});
    Cast("解毒");
    EXPECT_EQ(Row(4), " 体内の毒が消えました");
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
    EXPECT_EQ(s.heroStats(kMagicPoints), 75);
}

TEST_F(SpellMenuTest, ChecksRunLearnedThenPointsThenQuestion) {
    Keys("");
    ASSERT_TRUE(Play([&] { CastPriestSpell(g, "浄化"_sj); }));  // not learned: no key read
    LearnPriest({"浄化"});
    s.heroStats(kMagicPoints) = 6;
    Keys("x");
    ASSERT_TRUE(Play([&] { CastPriestSpell(g, "浄化"_sj); }));
    EXPECT_EQ(Row(1), " 浄化を唱えるにはマジックポイントが足りません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    s.heroStats(kMagicPoints) = 7;
    s.bodyState = "毒"_sj;
    Keys("qN");
    ASSERT_TRUE(Play([&] { CastPriestSpell(g, "浄化"_sj); }));
    EXPECT_EQ(Row(1), " 本当に浄化を唱えますか？(Y/N)");
    EXPECT_EQ(s.heroStats(kMagicPoints), 7);
    EXPECT_EQ(s.bodyState, "毒"_sj.str());
}

}  // namespace
}  // namespace kestran::game::testing
