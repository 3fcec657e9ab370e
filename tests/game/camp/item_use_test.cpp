// Potions and stones used outside fights, and items thrown away.
#include "game/camp/item_use.h"

#include "game/camp/camp_fixture.h"

namespace kestran::game::testing {
namespace {

using ItemUseTest = CampTest;

TEST_F(ItemUseTest, FiftyHitPointsHealFullyThirtyBelowAndCountSixtyBelow) {
    Carry(0, kHealingPotion);
    Carry(1, kHealingPotion);
    s.heroStats(kHitPoints) = 70;
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(3), " 体力回復薬を使いました");
    EXPECT_EQ(Row(4), " ヒットポイントが全快しました");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(s.heroStats(kHitPoints), 100);
    EXPECT_EQ(Carried(1), "");

    s.heroStats(kHitPoints) = 40;
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(4), " ヒットポイントが 50 ポイント回復しました");
    EXPECT_EQ(s.heroStats(kHitPoints), 90);
    EXPECT_EQ(Carried(0), "");
}

TEST_F(ItemUseTest, ReachingTheMaximumIsFullForMagicButCountedForTechnique) {
    Carry(0, kMagicPotion);
    Carry(1, kTechniquePotion);
    s.heroStats(kMagicPoints) = 30;      // 50 below 80
    s.heroStats(kTechniquePoints) = 10;  // 50 below 60
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(4), " マジックポイントが全快しました");
    EXPECT_EQ(s.heroStats(kMagicPoints), 80);
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(3), " 技能回復薬を使いました");
    EXPECT_EQ(Row(4), " テクニックポイントが 50 ポイント回復しました");
    EXPECT_EQ(s.heroStats(kTechniquePoints), 60);

    Carry(0, kTechniquePotion);
    s.heroStats(kTechniquePoints) = 11;
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(4), " テクニックポイントが全快しました");
    EXPECT_EQ(s.heroStats(kTechniquePoints), 60);
}

TEST_F(ItemUseTest, ThePanaceaPrintsFiveLinesAndThePromptOnRowTen) {
    Carry(0, kPanacea);
    s.maxHp = 200;
    s.heroStats(kHitPoints) = 1;
    s.heroStats(kMagicPoints) = 1;
    s.heroStats(kTechniquePoints) = 20;
    s.bodyState = "毒　病気"_sj;
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(3), " 万能薬を使いました");
    EXPECT_EQ(Row(4), " ヒットポイントが 100 ポイント回復しました");
    EXPECT_EQ(Row(5), " マジックポイントが 50 ポイント回復しました");
    EXPECT_EQ(Row(6), " テクニックポイントが全快しました");
    EXPECT_EQ(Row(7), " 体内の毒が消えました");
    EXPECT_EQ(Row(8), " 病気が治りました");
    EXPECT_EQ(Row(9), "");
    EXPECT_EQ(Row(10), " 何かキーを押して下さい");
    EXPECT_EQ(s.messageRow, 8);
    EXPECT_EQ(s.heroStats(kHitPoints), 101);
    EXPECT_EQ(s.heroStats(kMagicPoints), 51);
    EXPECT_EQ(s.heroStats(kTechniquePoints), 60);
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
}

TEST_F(ItemUseTest, CuresSpeakEvenWithNothingToCure) {
    Carry(0, kAntidote);
    Carry(1, kDiseaseCure);
    s.bodyState = "病気"_sj;
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(4), " 体内の毒が消えました");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(s.bodyState, "病気"_sj.str());
    s.bodyState = "毒　病気"_sj;
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(4), " 病気が治りました");
    EXPECT_EQ(s.bodyState, "毒"_sj.str());
    EXPECT_TRUE(s.inventoryName(0).empty());
}

TEST_F(ItemUseTest, OnlyPotionsAndStonesAreOfferedForUse) {
    Carry(0, kDagger);
    Carry(1, kHealingPotion);
    Keys("05n");
    EXPECT_FALSE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(1), " 使用する道具を数字キーで選んでください");
    EXPECT_EQ(Row(4), Blanks(25) + "( 0 )ダガー");
    EXPECT_EQ(Row(5), Blanks(25) + "( 1 )体力回復薬");
    EXPECT_EQ(Row(22), Hint("戻る(R)"));

    Keys(
        "1N"
        "1nR");  // "N" at the question goes back to the list
    MenuExit exit = MenuExit::TripHome;
    ASSERT_TRUE(Play([&] { exit = UseCarriedItem(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
    EXPECT_EQ(Carried(1), "体力回復薬");
    EXPECT_EQ(Row(1), " 使用する道具を数字キーで選んでください");

    Carry(1, kCap);
    Keys("x");
    ASSERT_TRUE(Play([&] { UseCarriedItem(g); }));
    EXPECT_EQ(Row(1), " 使用できる道具を持っていません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
}

TEST_F(ItemUseTest, TheStoneLeavesTheBackpackBeforeTheTripHome) {
    Carry(0, kDagger);
    Carry(1, kSunStone);
    Carry(2, kCap);
    s.dungeonFloor = 4;
    s.stealthWalk = 1;
    Keys("1Y");
    EXPECT_FALSE(Play([&] { UseCarriedItem(g); }));  // the window closes at the last key
    EXPECT_EQ(Row(3), " 太陽の石を使いました");
    EXPECT_EQ(Row(4), " CAMPERはまばゆい光に包まれ街に帰還しました");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(Carried(1), "キャップ");
    EXPECT_EQ(s.dungeonFloor, 4);

    Carry(1, kSunStone);
    Carry(2, kCap);
    Keys("1Yx");
    MenuExit exit = MenuExit::Returned;
    ASSERT_TRUE(Play([&] { exit = UseCarriedItem(g); }));
    EXPECT_EQ(exit, MenuExit::TripHome);
    EXPECT_EQ(s.dungeonFloor, 0);
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(Carried(1), "キャップ");
}

TEST_F(ItemUseTest, DiscardingTheLastItemEmptiesTheBackpack) {
    Wear(1, kChainMail);
    Carry(0, kChainMail);
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Row(1), " チェインメイルを捨てました");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    EXPECT_TRUE(s.inventoryTrueName(0).empty());
    EXPECT_TRUE(s.inventoryCode(0).empty());
    EXPECT_EQ(Worn(1), "チェインメイル");
    Keys("x");
    ASSERT_TRUE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Row(1), " 捨てるものがありません");
}

TEST_F(ItemUseTest, DiscardingAFreeSlotAsksWithAnEmptyNameAndChangesNothing) {
    Carry(0, kDagger);
    Carry(1, kHealingPotion);
    const auto before = Possessions();
    Keys("7");
    EXPECT_FALSE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Row(1), " を捨てますがよろしいですか？(Y/N)");
    Keys("7Yx");
    ASSERT_TRUE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Row(1), " を捨てました");
    EXPECT_EQ(Possessions(), before);
    EXPECT_TRUE(BackpackPacked());
}

TEST_F(ItemUseTest, DiscardingAsksAgainAfterNAndALetterPicksSlotZero) {
    Carry(0, kDagger);
    Carry(1, kHealingPotion);
    Keys("1n");
    EXPECT_FALSE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Row(1), " 捨てる持ち物を数字キーで選んでください");
    EXPECT_EQ(Row(5), Blanks(25) + "( 1 )体力回復薬");
    Keys("1nqYx");
    ASSERT_TRUE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Row(1), " ダガーを捨てました");
    EXPECT_EQ(Carried(0), "体力回復薬");
    EXPECT_EQ(Carried(1), "");
    Keys("R");
    ASSERT_TRUE(Play([&] { DiscardCarriedItem(g); }));
    EXPECT_EQ(Carried(0), "体力回復薬");
}

}  // namespace
}  // namespace kestran::game::testing
