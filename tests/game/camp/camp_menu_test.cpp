// The camp in the labyrinth, the character menu it shares with the town, and the backpack
// screen: their layouts, their keys, and the trip home passed back up to the caller.
#include "game/camp/camp_menu.h"

#include "game/camp/camp_fixture.h"
#include "game/camp/character_menu.h"
#include "game/saves/saving.h"
#include "game/town/town.h"

namespace kestran::game::testing {
namespace {

class CampMenuTest : public CampTest {
protected:
    CampMenuTest() {
        s.dungeonFloor = 3;
        s.posX = 5;
        s.posY = 7;
        s.facing = 2;
    }
    CampExit Camp(std::string_view keys) {
        Keys(keys);
        CampExit exit = CampExit::Strike;
        EXPECT_TRUE(Play([&] { exit = CampMenu(g); })) << keys;
        EXPECT_FALSE(KeysLeft()) << keys;
        return exit;
    }
};

TEST_F(CampMenuTest, TheCampIsStruckWithBAndOtherKeysAreDropped) {
    EXPECT_EQ(Camp("x{Up}7b"), CampExit::Strike);
    EXPECT_EQ(Row(1), " キャンプを張りました");
    EXPECT_EQ(Row(2), " どうしますか？");
    EXPECT_EQ(Row(20), Hint("日記をつける(S)"));
    EXPECT_EQ(Row(21), Hint("キャラクターを見る(C)"));
    EXPECT_EQ(Row(22), Hint("キャンプをたたむ(B)"));
    EXPECT_EQ(Camp("B"), CampExit::Strike);
}

TEST_F(CampMenuTest, TheDiaryWrittenInTheCampResumesInTheLabyrinth) {
    EXPECT_EQ(Camp("sCYxB"), CampExit::Strike);
    s.dungeonFloor = 0;
    s.posX = 1;
    s.posY = 0;
    s.facing = 3;
    Keys("CYxx");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = LoadCharacter(g); }));
    ASSERT_EQ(next, Scene::Town);
    EXPECT_EQ(EnterTown(g), Scene::Labyrinth);
    EXPECT_EQ(s.dungeonFloor, 3);
    EXPECT_EQ(s.posX, 5);
    EXPECT_EQ(s.posY, 7);
    EXPECT_EQ(s.facing, 2);
}

TEST_F(CampMenuTest, TheStoneOnAFloorCarriesTheHeroHomeFromTheCamp) {
    Carry(0, kSunStone);
    s.stealthWalk = 1;
    EXPECT_EQ(Camp("CIU0Yx"), CampExit::TripHome);
    EXPECT_EQ(s.dungeonFloor, 0);
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_TRUE(s.inventoryName(0).empty());
    EXPECT_EQ(rt.returns.depth(), 0);
}

TEST_F(CampMenuTest, StealthOnAFloorIsPaidOnceAndRefusedTheSecondTime) {
    s.learnedSkills(0) = "忍び足"_sj;
    EXPECT_EQ(Camp("CTSYx"
                   "Sx"
                   "RRB"),
              CampExit::Strike);
    EXPECT_EQ(s.stealthWalk, 1);
    EXPECT_EQ(s.heroStats(kTechniquePoints), 50);
    EXPECT_EQ(s.dungeonFloor, 3);
}

TEST_F(CampMenuTest, TheReturnSpellCarriesTheHeroHomeFromTheCamp) {
    s.learnedMageSpells(0) = "帰還"_sj;
    s.stealthWalk = 1;
    EXPECT_EQ(Camp("CMCYx"), CampExit::TripHome);
    EXPECT_EQ(s.dungeonFloor, 0);
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(s.heroStats(kMagicPoints), 65);
    EXPECT_EQ(rt.returns.depth(), 0);
}

using CharacterMenuTest = CampTest;

TEST_F(CharacterMenuTest, TripsHomeLeaveNoPendingReturnBehind) {
    for (int trip = 0; trip < 200; ++trip) {
        Carry(0, kSunStone);
        Keys("IU0Yx");
        MenuExit exit = MenuExit::Returned;
        ASSERT_TRUE(Play([&] { exit = CharacterMenu(g); })) << trip;
        ASSERT_EQ(exit, MenuExit::TripHome);
    }
    EXPECT_EQ(rt.returns.depth(), 0);
}

}  // namespace
}  // namespace kestran::game::testing
