// The mage and priest menus of the character menu: the return to town and the healing and
// curing spells.
#include "game/town/spell_menus.h"

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

TEST_F(SpellMenuTest, WithoutSpellsEachMenuIsANotice) {
    Keys("x");
    MenuExit exit = MenuExit::TripHome;
    ASSERT_TRUE(Play([&] { exit = MageSpellMenu(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
    EXPECT_EQ(Row(1), " CAMPERは何も魔術師呪文を習得していません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    Keys("x");
    ASSERT_TRUE(Play([&] { PriestSpellMenu(g); }));
    EXPECT_EQ(Row(1), " CAMPERは何も神術師呪文を習得していません");
}

TEST_F(SpellMenuTest, TheMageMenuOffersTheReturnOnRowTwentyOne) {
    s.learnedMageSpells(0) = "魔法の矢"_sj;
    s.learnedMageSpells(1) = "帰還"_sj;
    Keys("xR");
    MenuExit exit = MenuExit::TripHome;
    ASSERT_TRUE(Play([&] { exit = MageSpellMenu(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
    EXPECT_EQ(Row(1), " CAMPERが習得している魔術師呪文です");
    EXPECT_EQ(Row(4), Blanks(33) + "魔法の矢");
    EXPECT_EQ(Row(5), Blanks(33) + "帰還");
    EXPECT_EQ(Row(21), Hint("帰還を唱える(C)"));
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
}

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

TEST_F(SpellMenuTest, TheReturnInTownCostsItsPointsAndTakesTheWayHome) {
    s.learnedMageSpells(0) = "帰還"_sj;
    Keys("CYx");
    MenuExit exit = MenuExit::Returned;
    ASSERT_TRUE(Play([&] { exit = MageSpellMenu(g); }));
    EXPECT_EQ(exit, MenuExit::TripHome);
    EXPECT_EQ(Row(1), " 本当に帰還の呪文を唱えますか？(Y/N)");
    EXPECT_EQ(Row(3), " 帰還の呪文を唱えました");
    EXPECT_EQ(Row(4), " CAMPERはまばゆい光に包まれ街に帰還しました");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(s.heroStats(kMagicPoints), 65);
    EXPECT_EQ(s.dungeonFloor, 0);
}

TEST_F(SpellMenuTest, ThePriestMenuOffersFromTheHighestEntryDown) {
    LearnPriest({"軽傷を癒す", "神の盾", "解毒", "浄化", "病気を治す", "戦神の槌", "神の癒し", "重傷を癒す"});
    Keys("xR");
    ASSERT_TRUE(Play([&] { PriestSpellMenu(g); }));
    EXPECT_EQ(Row(1), " CAMPERが習得している神術師呪文です");
    EXPECT_EQ(Row(4), Blanks(33) + "軽傷を癒す");
    EXPECT_EQ(Row(5), Blanks(33) + "神の盾");
    EXPECT_EQ(Row(11), Blanks(33) + "重傷を癒す");
    EXPECT_EQ(Row(21), Hint("重傷を癒すを唱える(S)"));
    EXPECT_EQ(Row(20), Hint("神の癒しを唱える(G)"));
    EXPECT_EQ(Row(19), Hint("病気を治すを唱える(I)"));
    EXPECT_EQ(Row(18), Hint("浄化を唱える(C)"));
    EXPECT_EQ(Row(17), Hint("解毒を唱える(A)"));
    EXPECT_EQ(Row(16), Hint("軽傷を癒すを唱える(L)"));
    EXPECT_EQ(Row(15), "");
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
}

TEST_F(SpellMenuTest, LightHealingFiveBelowTheMaximumStopsThere) {
    LearnPriest({"軽傷を癒す"});
    s.heroStats(kHitPoints) = 95;
    Cast("軽傷を癒す");
    EXPECT_EQ(Row(1), " 本当に軽傷を癒すを唱えますか？(Y/N)");
    EXPECT_EQ(Row(3), " CAMPERは軽傷を癒すを唱えました");
    EXPECT_EQ(Row(4), " CAMPERのヒットポイントは 100 ( 最大 100 )ポイントになりました");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(s.heroStats(kHitPoints), 100);
    EXPECT_EQ(s.heroStats(kMagicPoints), 70);
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

TEST_F(SpellMenuTest, EachCureOnPoisonAndDisease) {
    LearnPriest({"解毒", "病気を治す", "浄化", "神の癒し"});
    const struct {
        const char* spell;
        const char* cast;
        const char* result;
        const char* state;
        float magicLeft;
    } cases[] = {
        {"解毒", " CAMPERは解毒の呪文を唱えました", " 体内の毒が消えました", "病気", 75},
        {"病気を治す", " CAMPERは病気を治すを唱えました", " 病気が治りました", "毒", 75},
        {"浄化", " CAMPERは浄化の呪文を唱えました", " CAMPERの体の状態は通常になりました", "通常", 73},
        {"神の癒し", " CAMPERは神の癒しの呪文を唱えました", " CAMPERの体は完全に回復しました", "通常", 53},
    };
    for (const auto& c : cases) {
        s.bodyState = "毒　病気"_sj;
        s.heroStats(kMagicPoints) = 80;
        s.heroStats(kHitPoints) = 1;
        Cast(c.spell);
        EXPECT_EQ(Row(3), c.cast);
        EXPECT_EQ(Row(4), c.result);
        EXPECT_EQ(SjisToUtf8(s.bodyState), c.state) << c.spell;
        EXPECT_EQ(s.heroStats(kMagicPoints), c.magicLeft) << c.spell;
        EXPECT_EQ(s.heroStats(kHitPoints), std::string(c.spell) == "神の癒し" ? 100 : 1) << c.spell;
    }
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

TEST_F(SpellMenuTest, ThePriestMenuCastsByKeyAndDrawsItselfAgain) {
    LearnPriest({"解毒", "神の盾"});
    s.bodyState = "毒"_sj;
    Keys(
        "x"
        "l"
        "aYx"
        "R");
    ASSERT_TRUE(Play([&] { PriestSpellMenu(g); }));
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
    EXPECT_EQ(s.heroStats(kMagicPoints), 75);
    EXPECT_EQ(Row(1), " CAMPERが習得している神術師呪文です");
    EXPECT_EQ(Row(21), Hint("解毒を唱える(A)"));
    EXPECT_EQ(Row(20), "");
}

}  // namespace
}  // namespace kestran::game::testing
