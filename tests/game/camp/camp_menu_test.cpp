// The camp in the labyrinth, the character menu it shares with the town, and the backpack
// screen: their layouts, their keys, and the trip home passed back up to the caller.
#include "game/camp/camp_menu.h"

#include "game/camp/camp_fixture.h"
#include "game/camp/character_menu.h"
#include "game/town/saving.h"
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

TEST_F(CampMenuTest, TheCharacterMenuComesBackToTheCamp) {
    EXPECT_EQ(Camp("cRB"), CampExit::Strike);
    EXPECT_EQ(Row(1), " キャンプを張りました");
    EXPECT_EQ(rt.returns.depth(), 0);
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

TEST_F(CharacterMenuTest, TheSheetCarriesFiveChoicesAndOtherKeysReprintTheWayBack) {
    Keys("x");
    EXPECT_FALSE(Play([&] { CharacterMenu(g); }));
    EXPECT_EQ(Row(1), " キャラクター名　CAMPER");
    EXPECT_EQ(Row(18), Hint("持ち物を見る(I)"));
    EXPECT_EQ(Row(19), Hint("技能を見る(T)"));
    EXPECT_EQ(Row(20), Hint("神術師呪文を見る(P)"));
    EXPECT_EQ(Row(21), Hint("魔術師呪文を見る(M)"));
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
    EXPECT_EQ(rt.returns.depth(), 0);  // the window closed inside the menu: its return unwound
    Keys("r");
    MenuExit exit = MenuExit::TripHome;
    ASSERT_TRUE(Play([&] { exit = CharacterMenu(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
}

TEST_F(CharacterMenuTest, LeavingTheBackpackShowsTheSheetAgain) {
    Keys("iR");
    EXPECT_FALSE(Play([&] { CharacterMenu(g); }));
    EXPECT_EQ(Row(1), " キャラクター名　CAMPER");
    EXPECT_EQ(Row(18), Hint("持ち物を見る(I)"));
}

TEST_F(CharacterMenuTest, EachSubMenuComesBackToTheSheet) {
    for (const char* keys : {"Tx", "px", "mx"}) {
        Keys(keys);
        EXPECT_FALSE(Play([&] { CharacterMenu(g); })) << keys;
        EXPECT_EQ(Row(18), Hint("持ち物を見る(I)")) << keys;
    }
}

TEST_F(CharacterMenuTest, FromTheTownTheMenuGivesTheTownOrTheWayBackFromTheLabyrinth) {
    Keys("R");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = TownCharacterMenu(g); }));
    EXPECT_EQ(next, Scene::Town);

    s.learnedMageSpells(0) = "帰還"_sj;
    s.companionName = "ザーン"_sj;
    Keys("MCYx");
    ASSERT_TRUE(Play([&] { next = TownCharacterMenu(g); }));
    EXPECT_EQ(next, Scene::ReturnToTown);
    EXPECT_EQ(s.heroStats(kMagicPoints), 65);
    Keys("x");
    ASSERT_TRUE(Play([&] { next = ReturnToTown(g); }));
    EXPECT_EQ(Row(1), " ザーン「んじゃまたな。」");
    EXPECT_TRUE(s.companionName.empty());
}

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

using InventoryScreenTest = CampTest;

TEST_F(InventoryScreenTest, AnEmptyBackpackAndNothingWorn) {
    Keys("");
    EXPECT_FALSE(Play([&] { InventoryScreen(g); }));
    EXPECT_EQ(Row(1), " CAMPERの持ち物です");
    EXPECT_EQ(Row(4), Blanks(6) + "頭" + Blanks(5) + "装備していません" + Blanks(11) + "背負い袋" + Blanks(5) +
                          "何もありません");
    EXPECT_EQ(Row(6), Blanks(6) + "右手" + Blanks(3) + "装備していません");
    EXPECT_EQ(Row(9), Blanks(6) + "脚" + Blanks(5) + "装備していません");
    EXPECT_EQ(Row(5).find("何も"), std::string::npos);
    EXPECT_EQ(Row(18), Hint("装備する(E)"));
    EXPECT_EQ(Row(19), Hint("装備をはずす(T)"));
    EXPECT_EQ(Row(20), Hint("道具を使う(U)"));
    EXPECT_EQ(Row(21), Hint("持ち物を捨てる(D)"));
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
}

TEST_F(InventoryScreenTest, WornAndCarriedItemsStandAtTheirColumns) {
    Wear(kLeftHand, kSmallShield);
    Carry(0, kGreatSword, false);
    Carry(1, kHealingPotion);
    Keys("x");
    EXPECT_FALSE(Play([&] { InventoryScreen(g); }));
    EXPECT_EQ(Row(4),
              Blanks(6) + "頭" + Blanks(5) + "装備していません" + Blanks(11) + "背負い袋" + Blanks(5) + "?ソード");
    EXPECT_EQ(Row(5), Blanks(6) + "胴" + Blanks(5) + "装備していません" + Blanks(24) + "体力回復薬");
    EXPECT_EQ(Row(7), Blanks(6) + "左手" + Blanks(3) + "スモールシールド");
    EXPECT_EQ(Row(6), Blanks(6) + "右手" + Blanks(3) + "装備していません");  // two items only
}

TEST_F(InventoryScreenTest, EachKeyLeadsToItsOperationAndBackToTheScreen) {
    for (const char* keys : {"ex", "Tx", "ux", "dx"}) {
        Keys(std::string("q") + keys);
        EXPECT_FALSE(Play([&] { InventoryScreen(g); })) << keys;
        EXPECT_EQ(Row(1), " CAMPERの持ち物です") << keys;
    }
    Keys("R");
    MenuExit exit = MenuExit::TripHome;
    ASSERT_TRUE(Play([&] { exit = InventoryScreen(g); }));
    EXPECT_EQ(exit, MenuExit::Returned);
}

}  // namespace
}  // namespace kestran::game::testing
