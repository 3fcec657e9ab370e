// Potions and stones used outside fights, and items thrown away.
#include "game/camp/item_use.h"

#include "game/camp/camp_fixture.h"

namespace kestran::game::testing {
namespace {

using ItemUseTest = CampTest;

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

}  // namespace
}  // namespace kestran::game::testing
