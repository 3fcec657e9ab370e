// Experience turned into levels: the threshold, the distribution that must use every point, the
// 999 caps and the last level.
#include "game/hero/level_up.h"

#include "game/dungeon/dungeon_fixture.h"

namespace kestran::game::testing {
namespace {

class LevelUpTest : public DungeonTest {
protected:
    LevelUpTest() {
        for (int i = 0; i < 7; ++i)
            s.heroStats(i) = 10;
        s.heroStats(10) = 1000;
        s.bodyState = "毒　病気"_sj;
    }
    // Bonus points 4 with no tenfold luck.
    void SeedFourPoints() {
        SeedWhere(2, [](const std::vector<double>& r) { return r[0] * 3 < 1 && !(r[1] * 200 < 1); });
    }
};

TEST_F(LevelUpTest, NineHundredNinetyNineExperienceGivesNoLevel) {
    s.heroStats(10) = 999;
    Keys("");
    EXPECT_EQ(Run([&] { CheckLevelUp(g); }), Ended::Returned);
    EXPECT_EQ(s.heroLevel, 1);
}

TEST_F(LevelUpTest, ALevelTakesAThousandPointsAndEveryBonusPointMustBeUsed) {
    s.heroStats(10) = 2500;
    SeedFourPoints();
    // Three points given, Enter through the rest: refused; then all four in strength.
    Keys("x+++{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}");
    Run([&] { CheckLevelUp(g); });
    EXPECT_EQ(Row(1), " レベルアップボーナスを振り分けて下さい");
    EXPECT_EQ(Row(13), " 残りのボーナスポイント 1");
    EXPECT_EQ(Row(19), " レベルアップボーナスが残っています");
    EXPECT_EQ(Row(20), " 何かキーを押すともう一度やり直します");
    Keys("x+++{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}x++++{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}");
    SeedFourPoints();
    Run([&] { CheckLevelUp(g); });
    EXPECT_EQ(Row(19), " これでよろしいですか？(Y/N)");
    EXPECT_EQ(Row(13), " 残りのボーナスポイント 0");
    Keys("x++++{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}qYx");
    s.heroStats(10) = 2500;
    s.heroLevel = 1;
    SeedFourPoints();
    EXPECT_EQ(Run([&] { CheckLevelUp(g); }), Ended::Returned);
    EXPECT_EQ(s.heroLevel, 2);
    EXPECT_EQ(s.heroStats(10), 1500) << "one level per victory";
    EXPECT_EQ(s.heroStats(0), 14);
    EXPECT_EQ(s.maxHp, 14 + 30 + 14);
    EXPECT_EQ(s.heroStats(7), s.maxHp);
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
    EXPECT_EQ(s.damageBonus, 7);  // INT(14 / 3 + 2 + 2 / 2)
    EXPECT_EQ(Row(20), " 以上のようにレベルアップしました！");
    EXPECT_EQ(Row(21), " 冒険を再開します");
    EXPECT_EQ(Row(22), " 何かキーを押して下さい");
    EXPECT_TRUE(rt.returns.empty());
}

TEST_F(LevelUpTest, TheFirstScreenNamesTheHero) {
    Keys("");
    Run([&] { CheckLevelUp(g); });
    EXPECT_EQ(Row(1), " アキラはレベルが上がりました！");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
}

TEST_F(LevelUpTest, PointsStopAtNineHundredNinetyNine) {
    s.heroStats(5) = 400;  // endurance
    s.heroStats(0) = 200;
    SeedFourPoints();
    Keys("x++++{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}Yx");
    Run([&] { CheckLevelUp(g); });
    EXPECT_EQ(s.maxHp, 999);
    EXPECT_EQ(s.heroStats(7), 999);
}

TEST_F(LevelUpTest, AtTheLastLevelAThousandPointsBuyAFullRecovery) {
    s.heroLevel = 50;
    s.heroStats(10) = 1200;
    s.maxHp = 80;
    s.heroStats(7) = 3;
    s.maxMp = 9;
    s.maxTp = 7;
    const RandomGenerator before = rt.random;
    Keys("");
    EXPECT_EQ(Run([&] { CheckLevelUp(g); }), Ended::Returned);
    EXPECT_EQ(DrawsSince(before), 0);
    EXPECT_EQ(s.heroLevel, 50);
    EXPECT_EQ(s.heroStats(10), 200);
    EXPECT_EQ(s.heroStats(7), 80);
    EXPECT_EQ(s.heroStats(8), 9);
    EXPECT_EQ(s.heroStats(9), 7);
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
}

}  // namespace
}  // namespace kestran::game::testing
