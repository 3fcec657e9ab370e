// The exploration loop: entering, walking and turning, the poison of a step, stairs, the
// elevator, the way out and the hero's death.
#include "game/dungeon/labyrinth.h"

#include "dungeon_fixture.h"

namespace kestran::game::testing {
namespace {

using LabyrinthTest = DungeonTest;

const std::string kPad(55, ' ');

// The encounter roll of an ordinary cell that starts no fight.
bool NoEncounter(double rnd) {
    return !(1 > rnd * 15);
}

TEST_F(LabyrinthTest, TheEntranceIsTheStaircaseOfFloorOneFacingEast) {
    Scene next = Scene::Title;
    Keys("u");
    EXPECT_EQ(Run([&] { next = EnterLabyrinth(g); }), Ended::Returned);
    EXPECT_EQ(next, Scene::ReturnToTown);
    EXPECT_EQ(s.dungeonFloor, 0);
    EXPECT_EQ(s.posX, 1);
    EXPECT_EQ(s.posY, 0);
    EXPECT_EQ(s.facing, kEast);
    EXPECT_EQ(s.stepTaken, 1);
    EXPECT_EQ(Row(20), kPad + "上に上がる(U)");
    EXPECT_EQ(Row(22), " 上り階段があります" + std::string(36, ' ') + "キャンプ (C)");
}

TEST_F(LabyrinthTest, TheCompanionGreetsAtTheEntrance) {
    s.companionName = "ザーン"_sj;
    Keys("x");
    EXPECT_EQ(Run([&] { EnterLabyrinth(g); }), Ended::KeysRanOut);
    Keys("");
    s.dungeonFloor = 0;
    EXPECT_EQ(Run([&] { EnterLabyrinth(g); }), Ended::KeysRanOut);
    EXPECT_EQ(Row(1), " 迷宮の入り口でザーンが待っていました");
    EXPECT_EQ(Row(3), " ザーン「んじゃ、気合入れていこうぜ。」");
    EXPECT_EQ(Row(5), " 何かキーを押すと迷宮に入ります");
    EXPECT_EQ(s.dungeonFloor, 1);
}

TEST_F(LabyrinthTest, AWallRefusesTheStepAndTurningCostsNothing) {
    StandAt(1, 1, 0, kWest);
    s.bodyState = "毒"_sj;
    s.stepTaken = 0;
    SeedSoThat(NoEncounter);
    // Against the west wall, then round to the south and one step down to row 1.
    Keys("{Up}{Up}zq{Left}{Left}{Right}{Down}{Right}{Right}{Up}");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.posX, 1);
    EXPECT_EQ(s.posY, 1);
    EXPECT_EQ(s.facing, kSouth);
    EXPECT_EQ(s.heroStats(7), 49) << "only the step costs a hit point";
}

TEST_F(LabyrinthTest, APoisonedStepFromOneHitPointEndsTheGame) {
    StandAt(1, 1, 0, kEast);
    s.bodyState = "毒　病気"_sj;
    s.heroStats(7) = 1;
    s.stepTaken = 0;
    SeedSoThat(NoEncounter);
    Keys("{Up}");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.heroStats(7), 0);
    EXPECT_EQ(s.posX, 2);
    EXPECT_EQ(Row(1), " アキラは力尽き倒れた・・・");
    Keys("{Up}x");
    StandAt(1, 1, 0, kEast);
    s.heroStats(7) = 1;
    SeedSoThat(NoEncounter);
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::ByGame);
}

TEST_F(LabyrinthTest, StairsKeepTheCellAndEndTheStealthWalk) {
    StandAt(1, 19, 5, kNorth);
    s.stepTaken = 1;
    s.stealthWalk = 1;
    Keys("uD");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.dungeonFloor, 2);
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(s.cellEvent, "U");
    EXPECT_EQ(Row(20), kPad + "上に上がる(U)");
    Keys("dU");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.dungeonFloor, 1);
    EXPECT_EQ(s.posX, 19);
    EXPECT_EQ(s.posY, 5);
    EXPECT_TRUE(RowStartsWith(22, " 下り階段があります"));
}

TEST_F(LabyrinthTest, TheElevatorTakesOnlyOneToThreeAndAnUpperCaseN) {
    StandAt(1, 2, 11, kNorth);
    s.stepTaken = 1;
    s.stealthWalk = 1;
    Keys("E40nxN");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.dungeonFloor, 1);
    EXPECT_EQ(s.stealthWalk, 1) << "cancelled";
    EXPECT_EQ(Row(22), kPad + "キャンプ (C)") << "back at the redraw, without examining the cell";
    Keys("e");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(Row(1), " エレベーターに乗りました");
    EXPECT_EQ(Row(2), " 行きたいフロアーを指定して下さい(1-3)");
    EXPECT_EQ(Row(22), kPad + "やっぱりやめる(N)");
    Keys("e3");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.dungeonFloor, 3);
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(s.posX, 2);
    EXPECT_EQ(s.posY, 11);
    EXPECT_TRUE(RowStartsWith(22, " エレベーターがあります"));
    // The floor the hero is on counts as a floor change.
    s.stealthWalk = 1;
    Keys("E3");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.stealthWalk, 0);
}

TEST_F(LabyrinthTest, FeatureKeysActOnlyOnTheirOwnCells) {
    StandAt(1, 17, 7, kNorth);  // a quiet cell: no encounter
    s.stepTaken = 1;
    Keys("UuDdOoEe");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.dungeonFloor, 1);
    EXPECT_EQ(s.posX, 17);
    EXPECT_EQ(Row(1), kPad + "アキラ") << "no other screen was opened";
}

TEST_F(LabyrinthTest, TheSpringOfLightHealsOnEveryArrivalOnly) {
    StandAt(1, 16, 7, kNorth);
    s.stepTaken = 1;
    s.heroStats(7) = 3;
    s.heroStats(8) = 1;
    Keys("");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.heroStats(7), 50);
    EXPECT_EQ(s.heroStats(8), 1);
    EXPECT_TRUE(RowStartsWith(22, " アキラはやわらかな光に包まれた・・・"));
    s.heroStats(7) = 3;
    Keys("{Left}");
    EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
    EXPECT_EQ(s.heroStats(7), 3) << "turning does not examine the cell";
}

TEST_F(LabyrinthTest, SignsAreReadOnArrival) {
    const std::pair<std::array<double, 3>, const char*> signs[] = {
        {{1, 19, 7}, " 「休息所」と書かれた看板があります"},
        {{1, 1, 9}, " 「エレベータールーム」と書かれた看板があります"},
        {{1, 17, 10}, " 「危険！魔物多発地帯！」と書かれた看板があります"},
        {{4, 4, 7}, " 「ここから未踏地帯！」と書かれた看板があります"},
        {{6, 9, 17}, " 「魔王の間」と書かれた看板があります"},
    };
    for (const auto& [cell, text] : signs) {
        StandAt(cell[0], cell[1], cell[2], kNorth);
        s.stepTaken = 1;
        Keys("");
        EXPECT_EQ(Run([&] { ExploreLoop(g); }), Ended::KeysRanOut);
        EXPECT_TRUE(RowStartsWith(22, text));
    }
}

}  // namespace
}  // namespace kestran::game::testing
