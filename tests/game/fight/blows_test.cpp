// The hero's blows, the monsters' blows, breath and spells, and the closing up of a group: each
// against the formula worked out from the random numbers the generator is about to give.
#include <cmath>

#include "fight_fixture.h"

namespace kestran::game::testing {
namespace {

using BlowsTest = FightTest;
using fight::HeroWeaponAttack;
using fight::MonstersAttack;

TEST_F(BlowsTest, TheWeakerHandStrikesAtHalfItsAttackUnrounded) {
    Group(3, 1);  // 25 hit points: power 5
    Wear(2, 0);   // a dagger: attack 5, hit bonus 0, in the right hand of a left-handed hero
    s.handedness = "左"_sj;
    s.damageBonus = 5;
    // No disease, a hit (the hero's side, drawn first, above the monster's), then the damage.
    SeedWhere(4, [&](const std::vector<double>& r) { return r[2] * 1 < r[1] * 5; });
    const auto r = NextRnd(4);
    Keys("");
    Run([&] { HeroWeaponAttack(g, 0, false); });
    const double damage = std::floor(r[3] * 3.75 + 3.75);
    EXPECT_EQ(s.handAttack, 2.5f);
    EXPECT_EQ(s.handHitBonus, 0);
    EXPECT_EQ(s.monsterHp(0), 25 - damage);
    EXPECT_GE(damage, 3);
    EXPECT_LE(damage, 7);
    EXPECT_EQ(Row(1), " アキラの攻撃！");
    EXPECT_EQ(Row(3), " 右手のダガーによる攻撃が命中！");
    EXPECT_EQ(Row(4), " ぶーぶーオークに" + Num(damage) + "ポイントのダメージを与えた！");
    EXPECT_EQ(s.messageRow, 6);
}

TEST_F(BlowsTest, AVitalStrikeByAHeroOfBothHandsFellsAtFullValue) {
    Group(3, 1);
    Wear(2, 0);
    Wear(3, 0);
    s.handedness = "両"_sj;
    s.turnDamageBonus = 500;  // 急所を狙う
    SeedWhere(4, [&](const std::vector<double>& r) { return r[2] * 1 < r[1] * 5; });
    Keys("");
    Run([&] { HeroWeaponAttack(g, 0, false); });
    // The right hand fells the orc at once: at least about 250 points.
    EXPECT_EQ(s.handAttack, 505);
    EXPECT_LT(s.monsterHp(0), 1);
    EXPECT_EQ(s.lastMonster, -1);
    EXPECT_EQ(Row(5), " ぶーぶーオークは倒れた！");
}

TEST_F(BlowsTest, WhenTheRightHandFellsTheTargetTheLeftHandDoesNotStrike) {
    Group(0, 2);  // two slimes of 10
    Wear(2, 0);
    Wear(3, 0);
    s.damageBonus = 40;
    SeedWhere(4, [&](const std::vector<double>& r) { return r[2] * 2 < r[1] * 5; });
    const RandomGenerator before = rt.random;
    Keys("");
    Run([&] { HeroWeaponAttack(g, 1, false); });
    EXPECT_EQ(DrawsSince(before), 4) << "disease, both sides, damage: the left hand draws nothing";
    EXPECT_EQ(s.lastMonster, 0);
    EXPECT_EQ(s.monsterHp(0), 10);
    EXPECT_EQ(s.messageRow, 7);
}

TEST_F(BlowsTest, TheLeftHandPrintsUnderTheRightHandsLines) {
    Group(14, 1);  // a troll of 100
    Wear(2, 0);
    Wear(3, 0);
    // The right hand misses, the left hand hits.
    // The miss draws three numbers (disease and both sides), the left hand's blow the next ones.
    SeedWhere(7, [&](const std::vector<double>& r) { return !(r[2] * 20 < r[1] * 5) && r[5] * 20 < r[4] * 5; });
    Keys("");
    Run([&] { HeroWeaponAttack(g, 0, false); });
    EXPECT_EQ(Row(3), " トロるんは右手のダガーによる攻撃をひらりとかわした！");
    EXPECT_EQ(Row(5), " 左手のダガーによる攻撃が命中！");
    EXPECT_TRUE(RowStartsWith(6, " トロるんに "));
    EXPECT_EQ(s.messageRow, 8);
}

TEST_F(BlowsTest, ADiseasedHeroMissesOneBlowInThreeAndTheRollIsDrawnAlways) {
    Group(0, 1);
    s.bodyState = "毒　病気"_sj;
    SeedSoThat([](double r) { return 1 > r * 3; });
    const RandomGenerator before = rt.random;
    Keys("");
    Run([&] { HeroWeaponAttack(g, 0, false); });  // bare-handed
    EXPECT_EQ(DrawsSince(before), 1);
    EXPECT_EQ(Row(3), " アキラは武器を持っていないので素手でやられスライムに踊りかかった！");
    EXPECT_EQ(Row(4), " やられスライムは素手による攻撃をひらりとかわした！");
    EXPECT_EQ(s.messageRow, 6);
    s.bodyState = "通常"_sj;
    SeedSoThat([](double r) { return 1 > r * 3; });
    const RandomGenerator healthy = rt.random;
    Run([&] { HeroWeaponAttack(g, 0, false); });
    EXPECT_GE(DrawsSince(healthy), 3) << "a healthy hero's blow is tested after the same draw";
}

TEST_F(BlowsTest, BareHandsStrikeWithTheDamageBonusOnly) {
    Group(14, 1);
    s.damageBonus = 9;
    s.turnDamageBonus = 1;
    SeedWhere(4, [&](const std::vector<double>& r) { return r[2] * 20 < r[1] * 5; });
    const auto r = NextRnd(4);
    Keys("");
    Run([&] { HeroWeaponAttack(g, 0, false); });
    const double damage = std::floor((r[3] * 10) / 2 + 5);
    EXPECT_EQ(Row(4), " 素手による攻撃が命中！");
    EXPECT_EQ(Row(5), " トロるんに" + Num(damage) + "ポイントのダメージを与えた！");
    EXPECT_EQ(s.messageRow, 7);
}

TEST_F(BlowsTest, ArmourCannotBringALandedBlowBelowOnePoint) {
    Group(0, 1);
    for (int slot : {0, 1, 4, 5})
        Wear(slot, 87);  // 聖なる鎧: armour 30 wherever it is counted
    s.physicalDefense = 50;
    SeedWhere(5, [&](const std::vector<double>& r) { return (2 + 5) * r[4] > r[3] * 5; });
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(s.damageTaken, 1);
    EXPECT_EQ(s.heroStats(7), 49);
    EXPECT_EQ(Row(2), " アキラは 1 ポイントのダメージを受けた！");
}

TEST_F(BlowsTest, OnlyAShieldCountsInAHand) {
    Group(24, 1);  // ダークソルジャー: power 230
    Wear(2, 15);   // a small shield: armour 2
    Wear(3, 0);    // a dagger: its 5 is attack, not armour
    Wear(1, 8);    // leather armour: 3
    SeedWhere(7, [&](const std::vector<double>& r) { return (46 + 5) * r[4] > r[3] * 5; });
    const auto r = NextRnd(7);
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(s.armourSum, 5);
    const double d = 5 + 3;
    const double expected = std::floor(r[5] * 46 + 10 + 46) - std::floor(r[6] * (d / 2) + d / 2);
    EXPECT_EQ(s.damageTaken, expected);
}

TEST_F(BlowsTest, BreathComesFromThePresentHitPointsAndIgnoresArmour) {
    Group(13, 1);  // ナキーノドラゴン breathes: 90 hit points
    s.monsterHp(0) = 41;
    Wear(1, 87);
    SeedWhere(2, [](const std::vector<double>& r) { return 1 > r[1] * 3; });
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(Row(1), " ナキーノドラゴンのブレス攻撃！");
    EXPECT_EQ(s.damageTaken, std::floor(10 + 41 / 2.0) - 3);
    EXPECT_EQ(s.heroStats(7), 50 - s.damageTaken);
}

TEST_F(BlowsTest, ASpellCountsTheMagicResistances) {
    Group(6, 1);  // はぐれ魔導士: spells, 45
    Wear(0, 93);  // ロイヤルヘルム: magic resistance 10
    SeedWhere(4, [](const std::vector<double>& r) { return 1 > r[2] * 3; });
    const auto r = NextRnd(4);
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(Row(1), " はぐれ魔導士の魔法攻撃！");
    EXPECT_EQ(s.damageTaken, std::max(1.0, std::floor(10 + 45 / 3.0 + r[3] * 10) - (2 + 10)));
}

TEST_F(BlowsTest, EachTestOfAMonsterDrawsItsNumberWhateverItsOtherCondition) {
    Group(0, 1);  // no companion, no breath, no spell
    SeedWhere(5, [](const std::vector<double>& r) { return !((2 + 5) * r[4] > r[3] * 5); });
    const RandomGenerator before = rt.random;
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(DrawsSince(before), 5) << "companion, breath, spell, then the two sides of the blow";
    EXPECT_EQ(Row(2), " アキラはやられスライムの攻撃をひらりとかわした！");
    EXPECT_EQ(Row(4), " 何かキーを押して下さい");
}

TEST_F(BlowsTest, APoisonedHeroLosesAPointWhenTheMonstersAttack) {
    Group(0, 1);
    s.lastMonster = -1;  // a beaten group never acts
    s.bodyState = "毒"_sj;
    const RandomGenerator before = rt.random;
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(s.heroStats(7), 49);
    EXPECT_EQ(DrawsSince(before), 0);
    EXPECT_EQ(Row(1), " 何かキーを押して下さい");
}

TEST_F(BlowsTest, AfflictionsStrikeOneTimeInTenAndAreToldEvenWhenAlreadyThere) {
    Group(21, 1);  // おかしらデーモン: poison and disease, spells
    s.bodyState = "毒"_sj;
    // Companion, breath and spell tests, both sides of the blow, its damage and the armour, then
    // the poison's and the disease's numbers.
    SeedWhere(8, [](const std::vector<double>& r) {
        return !(1 > r[1] * 3) && !(1 > r[2] * 3) && (36 + 5) * r[4] > r[3] * 5 && !(1 < r[7] * 10);
    });
    const auto r = NextRnd(9);
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(Row(3), " アキラは毒を受けた！");
    if (!(1 < r[8] * 10)) {
        EXPECT_EQ(Row(4), " アキラは病気になった！");
        EXPECT_EQ(s.bodyState, "毒　病気"_sj.str());
    } else {
        EXPECT_EQ(s.bodyState, "毒"_sj.str());
    }
}

TEST_F(BlowsTest, ACompanionDrawsTwoBlowsInFiveAndTheyCostNothing) {
    Group(0, 1);
    s.companionName = "ザーン"_sj;
    SeedWhere(3, [](const std::vector<double>& r) { return 2 > r[0] * 5 && r[2] * 10 > r[1] * 60; });
    Keys("x");
    Run([&] { MonstersAttack(g); });
    EXPECT_EQ(Row(2), " ザーンはやられスライムの攻撃を受けた！");
    EXPECT_EQ(s.heroStats(7), 50);
}

TEST_F(BlowsTest, CloseUpMovesTheStandingMonstersToTheFront) {
    Group(0, 3);
    s.monsterHp(0) = 0;
    s.monsterHp(1) = 7;
    s.monsterHp(2) = -3;
    fight::CloseUpGroup(s);
    EXPECT_EQ(s.monsterHp(0), 7);
    EXPECT_EQ(s.lastMonster, 0);
    s.monsterHp(0) = 0;
    s.monsterHp(1) = 0;
    s.monsterHp(2) = 4;
    fight::CloseUpGroup(s);
    EXPECT_EQ(s.monsterHp(0), 4);
    EXPECT_LT(s.monsterHp(1), 1);
    EXPECT_EQ(s.lastMonster, 0);
    s.monsterHp(0) = 5;
    s.monsterHp(1) = -1;
    s.monsterHp(2) = 6;
    fight::CloseUpGroup(s);
    EXPECT_EQ(s.monsterHp(1), 6);
    EXPECT_EQ(s.lastMonster, 1);
}

}  // namespace
}  // namespace kestran::game::testing
