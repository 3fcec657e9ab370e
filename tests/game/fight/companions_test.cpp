// The five companions' actions in a fight, at their thresholds.
#include <cmath>

#include "fight_fixture.h"

namespace kestran::game::testing {
namespace {

class CompanionsTest : public FightTest {
protected:
    void Acts(std::string_view name) {
        s.companionName = PbString(name);
        Keys("xxxxxx");
        Run([&] { fight::CompanionActs(g); });
    }
};

TEST_F(CompanionsTest, RaymonHealsAtTwentyHitPointsAndStrikesAtTwentyOne) {
    Group(14, 1);
    s.maxHp = 100;
    s.heroStats(7) = 20;
    const double heal = std::floor(NextRnd(1)[0] * 10 + 21);
    Acts("レイモン"_sj);
    EXPECT_EQ(Row(1), " レイモン「大丈夫か？」");
    EXPECT_EQ(Row(2), " レイモンはアキラに回復の呪文を唱えた！");
    EXPECT_EQ(s.heroStats(7), 20 + heal);
    EXPECT_EQ(Row(4), " アキラのヒットポイントは" + Num(20 + heal) + "( 最大 100 )ポイントになった！");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    s.heroStats(7) = 21;
    Acts("レイモン"_sj);
    EXPECT_EQ(Row(1), " レイモン「はあっ！」");
    EXPECT_EQ(Row(2), " レイモンの攻撃！");
}

TEST_F(CompanionsTest, AHealNeverGoesAboveTheMaximum) {
    Group(14, 1);
    s.heroStats(7) = 1;
    s.maxHp = 10;
    Acts("シンシア"_sj);
    EXPECT_EQ(s.heroStats(7), 10);
    EXPECT_EQ(Row(1), " シンシア「アキラ様！大丈夫ですか？」");
}

TEST_F(CompanionsTest, CynthiaHealsAtExactlyAThirdWhereFinaStaysIdle) {
    Group(14, 1);
    s.maxHp = 60;
    s.heroStats(7) = 20;
    const RandomGenerator before = rt.random;
    Acts("フィーナ"_sj);
    EXPECT_EQ(Row(1), " フィーナ「・・・・・・・・・・。」");
    EXPECT_EQ(Row(2), " フィーナはボーっとしている！");
    EXPECT_EQ(Row(4), " 何かキーを押して下さい");
    EXPECT_EQ(DrawsSince(before), 0);
    Acts("シンシア"_sj);
    EXPECT_EQ(Row(2), " シンシアはアキラに回復の呪文を唱えた！");
    s.heroStats(7) = 21;
    Acts("シンシア"_sj);
    EXPECT_EQ(Row(1), " シンシア「えいっ！」");
}

TEST_F(CompanionsTest, MillisDealsSevenToSixteenOrFiftyMoreAtLevelOne) {
    Group(14, 1);  // 100 hit points: she cannot fell it
    for (uint32_t from = 1; from < 400; from += 7) {
        SeedWhere(
            3, [](const std::vector<double>& r) { return r[1] * 100 < r[0] * 95; }, from);
        const auto r = NextRnd(4);
        s.monsterHp(0) = 100;
        Acts("ミリィス"_sj);
        const double damage = std::floor(r[2] * 10 + 5 + 2) + (1 > r[3] * 5 ? 50 : 0);
        EXPECT_EQ(s.monsterHp(0), 100 - damage);
        EXPECT_TRUE((damage >= 7 && damage <= 16) || (damage >= 57 && damage <= 66)) << damage;
        EXPECT_EQ(Row(4), " トロるんに" + Num(damage) + "ポイントのダメージを与えた！");
    }
}

TEST_F(CompanionsTest, AStrikeThatFellsMovesTheTargetOn) {
    Group(0, 2);
    SeedWhere(3, [](const std::vector<double>& r) { return r[1] * 10 < r[0] * 95; });
    Acts("ザーン"_sj);
    EXPECT_EQ(Row(5), " やられスライムは倒れた！");
    EXPECT_EQ(Row(7), " 何かキーを押して下さい");
    EXPECT_EQ(s.lastMonster, 0);
    EXPECT_LT(s.monsterHp(1), 1);
}

TEST_F(CompanionsTest, AMissIsToldOnRowFour) {
    Group(30, 1);
    SeedWhere(2, [](const std::vector<double>& r) { return !(r[1] * 700 < r[0] * 75); });
    Acts("ザーン"_sj);
    EXPECT_EQ(Row(4), " ダークキングはザーンの攻撃をひらりとかわした！");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
}

TEST_F(CompanionsTest, TheBlizzardStrikesEveryMonsterStandingWithANewRoll) {
    Group(3, 3);  // three orcs of 25
    s.maxHp = 60;
    s.heroStats(7) = 19;
    const auto r = NextRnd(3);
    Acts("フィーナ"_sj);
    EXPECT_EQ(Row(1), " フィーナの吹雪がぶーぶーオークを襲う！");
    double standing = 0;
    for (int i = 0; i < 3; ++i) {
        const double damage = std::floor(r[std::size_t(i)] * 20 + 20 + 2);
        standing += 25 - damage > 0;
    }
    EXPECT_EQ(s.lastMonster, standing - 1 < 0 ? 0 : standing - 1);
}

TEST_F(CompanionsTest, AnyOtherNameActsAsRaymon) {
    Group(14, 1);
    s.heroStats(7) = 5;
    Acts("ゲスト"_sj);
    EXPECT_EQ(Row(1), " ゲスト「大丈夫か？」");
}

}  // namespace
}  // namespace kestran::game::testing
