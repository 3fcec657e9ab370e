// The skill menu of the character menu: stealth and identifying by skill.
#include "game/town/skill_menus.h"

#include "game/camp/camp_fixture.h"

namespace kestran::game::testing {
namespace {

using SkillMenuTest = CampTest;

TEST_F(SkillMenuTest, WithoutSkillsTheMenuIsANotice) {
    Keys("x");
    ASSERT_TRUE(Play([&] { SkillMenu(g); }));
    EXPECT_EQ(Row(1), " CAMPERは何も技能を身につけていません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
}

TEST_F(SkillMenuTest, TheUsableSkillsAreOfferedFromRowTwentyOneUpInLearningOrder) {
    s.learnedSkills(0) = "鑑定"_sj;
    s.learnedSkills(1) = "解除"_sj;
    s.learnedSkills(2) = "忍び足"_sj;
    Keys("xr");
    ASSERT_TRUE(Play([&] { SkillMenu(g); }));
    EXPECT_EQ(Row(1), " CAMPERが修得している技能です");
    EXPECT_EQ(Row(4), Blanks(33) + "鑑定");
    EXPECT_EQ(Row(5), Blanks(33) + "解除");
    EXPECT_EQ(Row(6), Blanks(33) + "忍び足");
    EXPECT_EQ(Row(20), Hint("忍び足を使う(S)"));
    EXPECT_EQ(Row(21), Hint("持ち物を鑑定する(I)"));
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
}

TEST_F(SkillMenuTest, TheKeyOfASkillNotLearnedIsIgnored) {
    s.learnedSkills(0) = "解除"_sj;
    s.dungeonFloor = 1;
    Keys("SiR");
    ASSERT_TRUE(Play([&] { SkillMenu(g); }));
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(Row(1), " CAMPERが修得している技能です");
}

TEST_F(SkillMenuTest, StealthIsRefusedWithoutCostInTownAndWhenInForce) {
    Keys("x");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(Row(1), " 街の中では忍び足を使っても意味がありません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    EXPECT_EQ(s.stealthWalk, 0);

    s.dungeonFloor = 2;
    Keys("xN");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(Row(1), " 本当に忍び足を使いますか？(Y/N)");
    EXPECT_EQ(s.stealthWalk, 0);
    EXPECT_EQ(s.heroStats(kTechniquePoints), 60);

    Keys("yx");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(Row(3), " 忍び足を使いました！");
    EXPECT_EQ(Row(4), " このフロアーにいる間は有効です");
    EXPECT_EQ(Row(5), " 何かキーを押して下さい");
    EXPECT_EQ(s.stealthWalk, 1);
    EXPECT_EQ(s.heroStats(kTechniquePoints), 50);

    Keys("x");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(Row(1), " すでに忍び足を使いながら歩いています");
    EXPECT_EQ(s.heroStats(kTechniquePoints), 50);
}

TEST_F(SkillMenuTest, StealthNeedsTenTechniquePoints) {
    s.dungeonFloor = 1;
    s.heroStats(kTechniquePoints) = 9;
    Keys("x");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(Row(1), " 忍び足を使うにはテクニックポイントが足りません");
    s.heroStats(kTechniquePoints) = 10;
    Keys("Yx");
    ASSERT_TRUE(Play([&] { UseStealthWalk(g); }));
    EXPECT_EQ(s.heroStats(kTechniquePoints), 0);
    EXPECT_EQ(s.stealthWalk, 1);
}

TEST_F(SkillMenuTest, IdentifyingShowsTheShopsListAndCostsSevenPoints) {
    Carry(0, kDagger);
    Carry(1, kBroadSword, false);
    Keys("1");
    EXPECT_FALSE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(Row(1), " ?ソードを鑑定しますか？(Y/N)");
    Keys("1Yx");
    ASSERT_TRUE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(Row(1), " ?ソードを鑑定しますか？(Y/N)");
    EXPECT_EQ(Row(3), " 鑑定しました！");
    EXPECT_EQ(Row(4), " ?ソードはブロードソードでした");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(s.inventoryName(1), "ブロードソード"_sj.str());
    EXPECT_EQ(s.heroStats(kTechniquePoints), 53);
}

TEST_F(SkillMenuTest, AnIdentifiedItemCostsNothingAndThePointsAreTestedAfterTheChoice) {
    Carry(0, kDagger);
    Carry(1, kBroadSword, false);
    s.heroStats(kTechniquePoints) = 6;
    Keys(
        "0x"
        "5"
        "9"
        "n");
    ASSERT_TRUE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(Row(1), " どの持ち物を鑑定しますか？");
    EXPECT_EQ(Row(2), " 数字キーで鑑定する物を選んでください");
    EXPECT_EQ(Row(5), Blanks(25) + "( 0 )  ダガー");
    EXPECT_EQ(Row(6), Blanks(25) + "( 1 )  ?ソード");
    EXPECT_EQ(Row(22), Hint("鑑定するのをやめる(N)"));
    Keys("0");
    EXPECT_FALSE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(Row(1), " その持ち物はすでに鑑定されています");
    Keys("1x");
    ASSERT_TRUE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(Row(1), " 鑑定するにはテクニックポイントが足りません");
    EXPECT_EQ(s.heroStats(kTechniquePoints), 6);
    EXPECT_EQ(s.inventoryName(1), "?ソード"_sj.str());
}

TEST_F(SkillMenuTest, IdentifyingAsksAgainAfterNAndWithNothingCarriedIsANotice) {
    Carry(0, kBroadSword, false);
    Keys(
        "qN"
        "N");
    ASSERT_TRUE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(s.heroStats(kTechniquePoints), 60);
    EXPECT_EQ(Row(1), " どの持ち物を鑑定しますか？");
    s.inventoryTrueName(0).clear();
    s.inventoryName(0).clear();
    s.inventoryCode(0).clear();
    Keys("x");
    ASSERT_TRUE(Play([&] { IdentifyBySkill(g); }));
    EXPECT_EQ(Row(1), " 何も道具を持っていません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
}

TEST_F(SkillMenuTest, BothSkillsComeBackToTheMenu) {
    s.learnedSkills(0) = "忍び足"_sj;
    s.learnedSkills(1) = "鑑定"_sj;
    Keys(
        "sx"
        "iN"
        "R");
    ASSERT_TRUE(Play([&] { SkillMenu(g); }));
    EXPECT_EQ(Row(1), " CAMPERが修得している技能です");
    EXPECT_EQ(Row(21), Hint("忍び足を使う(S)"));
    EXPECT_EQ(Row(20), Hint("持ち物を鑑定する(I)"));
}

}  // namespace
}  // namespace kestran::game::testing
