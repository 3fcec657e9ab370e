// The title's keys and the making of a new hero.
#include "game/hero/creation.h"

#include "game/game_fixture.h"
#include "game/town/title.h"
#include "runtime/values/numbers.h"

namespace kestran::game::testing {
namespace {

using CreationTest = GameTest;

constexpr const char* kSevenEnters = "{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}";

TEST_F(CreationTest, TheTitleTakesItsThreeLettersInEitherCaseAndIgnoresTheRest) {
    const std::pair<const char*, Scene> cases[] = {{"xN", Scene::NewHero},      {"1n", Scene::NewHero},
                                                   {"{Esc}L", Scene::LoadHero}, {"l", Scene::LoadHero},
                                                   {"qD", Scene::ConvertHero},  {"d", Scene::ConvertHero}};
    for (const auto& [keys, scene] : cases) {
        Keys(keys);
        Scene next = Scene::Town;
        ASSERT_TRUE(Play([&] { next = TitleScreen(g); })) << keys;
        EXPECT_EQ(next, scene) << keys;
        EXPECT_EQ(Row(14), std::string(33, ' ') + "(N) NEW  GAME");
    }
    Keys("mcxyz");
    EXPECT_FALSE(Play([&] { TitleScreen(g); }));
}

TEST_F(CreationTest, TheNameRefusesTheBytesASaveFieldCannotCarryAndDropsOuterBlanks) {
    Keys("  A,B:C\"D  {Enter}");
    EXPECT_FALSE(Play([&] { CreateCharacter(g); }));  // waiting at the roll's question
    EXPECT_EQ(s.heroName, "ABCD");
    EXPECT_EQ(Beeps(), 3);
}

TEST_F(CreationTest, PointsLeftOverBecomeGoldAndExperience) {
    PbRandomize(rt, 1);  // rolls 10 14 11 17 17 15 19 and 10 bonus points
    Keys(std::string("HERO{Enter}Y") + kSevenEnters + "Y");
    EXPECT_FALSE(Play([&] { CreateCharacter(g); }));  // waiting at the sheet's question
    EXPECT_EQ(s.gold, 1500);
    EXPECT_EQ(s.heroStats(10), 500);
    EXPECT_EQ(s.heroStats(0), 10);
    EXPECT_EQ(s.heroLevel, 1);
    EXPECT_EQ(s.maxHp, 14 + 15 * 3 + 10);
    EXPECT_EQ(s.heroStats(7), s.maxHp);
    EXPECT_EQ(Row(1), " キャラクター名　HERO");
    EXPECT_EQ(Row(17), "  所持金   1500 G             状態      通常");
    EXPECT_EQ(Row(20), " これでよろしいですか？(Y/N)");
}

TEST_F(CreationTest, PlusAndMinusMovePointsAndStartingOverGivesThemBack) {
    PbRandomize(rt, 1);
    // Three points into strength, one taken back, then all distributed again from the start.
    Keys(std::string("HERO{Enter}Y+++-{Enter}-{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}N++") + kSevenEnters + "Y");
    EXPECT_FALSE(Play([&] { CreateCharacter(g); }));
    EXPECT_EQ(s.heroStats(0), 12);
    EXPECT_EQ(s.gold, 500 + 8 * 100);
}

TEST_F(CreationTest, RejectingTheRollKeepsTheNameAndRejectingTheHeroAsksForANewOne) {
    PbRandomize(rt, 7);
    Keys("FIRST{Enter}qN");
    EXPECT_FALSE(Play([&] { CreateCharacter(g); }));
    EXPECT_EQ(Row(1), " キャラクター名  FIRST");  // rolled again, the name kept
    EXPECT_EQ(Row(19), " これでよろしいですか？(Y/N)");

    PbRandomize(rt, 7);
    Keys(std::string("FIRST{Enter}NY") + kSevenEnters + "YqN");
    EXPECT_FALSE(Play([&] { CreateCharacter(g); }));
    EXPECT_EQ(Row(1), " キャラクターを作成します");  // a new name is asked for
    EXPECT_EQ(Row(2), " 名前を入力して下さい");
    EXPECT_EQ(s.heroName, "FIRST");
}

TEST_F(CreationTest, ANewHeroKeepsTheRunsBackpackButLosesTheCompanion) {
    s.inventoryTrueName(0) = s.inventoryName(0) = "ダガー"_sj;
    s.companionName = "ザーン"_sj;
    s.reservedText = "x";
    s.dungeonFloor = 4;
    s.bodyState = "毒"_sj;
    PbRandomize(rt, 3);
    Keys(std::string("NEW{Enter}Y") + kSevenEnters + "YYCYx");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = CreateCharacter(g); }));
    EXPECT_EQ(next, Scene::Town);
    EXPECT_EQ(s.inventoryName(0), "ダガー"_sj.str());
    EXPECT_EQ(s.companionName, "");
    EXPECT_EQ(s.reservedText, "");
    EXPECT_EQ(s.dungeonFloor, 0);
    EXPECT_EQ(s.bodyState, "毒"_sj.str());
    EXPECT_EQ(Row(1), " セーブしました");
}

}  // namespace
}  // namespace kestran::game::testing
