// Whole fights from the encounter to their end, driven by keys: the heading and the surprise,
// the menu, victory and its spoils, flight, the master, death, spells and potions, and the order
// of the random draws.
#include <cmath>

#include "fight_fixture.h"
#include "game/dungeon/labyrinth.h"

namespace kestran::game::testing {
namespace {

using FightFlowTest = FightTest;
using fight::FightState;

const std::string kPad(55, ' ');

TEST_F(FightFlowTest, AnOrdinaryCellStartsAFightOneStepInFifteen) {
    s.cellEvent = "1";
    SeedSoThat([](double r) { return !(1 > r * 15); });
    const RandomGenerator before = rt.random;
    Keys("");
    EXPECT_EQ(Run([&] { RollEncounter(g); }), Ended::Returned);
    EXPECT_EQ(DrawsSince(before), 1);
    s.cellEvent = "3";
    SeedSoThat([](double r) { return 3 > r * 15 && !(1 > r * 15); });
    EXPECT_EQ(Run([&] { RollEncounter(g); }), Ended::KeysRanOut);
    EXPECT_EQ(Row(22), " 魔物に遭遇しました！(何かキーを押して下さい)");
    EXPECT_EQ(s.bossFight, "0");
}

TEST_F(FightFlowTest, TheGroupIsOneToThreeOfTheFloorsKinds) {
    StandAt(4, 2, 0, kEast);
    s.bossFight = "0";
    s.surprise = 0;
    // No surprise either way, then the kind and the size.
    SeedWhere(4, [](const std::vector<double>& r) { return !(2 > r[0] * 20) && !(2 > r[1] * 20); });
    const auto r = NextRnd(4);
    Keys("x");
    Run([&] { StartFight(g); });
    const int kind = int(std::floor(r[2] * 5 + 15));
    const int last = int(std::floor(r[3] * 3));
    EXPECT_EQ(s.monsterKind, kind);
    EXPECT_EQ(s.lastMonster, last);
    EXPECT_EQ(s.surprise, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s.monsterHp(i), i <= last ? s.monsterPower(0) : 0);
    EXPECT_TRUE(RowStartsWith(1, " " + Utf8(s.monsterTableName(kind)) + "が" + Num(last + 1) + "匹現れた！"));
    EXPECT_EQ(Row(2), " どうする？");
    EXPECT_EQ(Row(17), kPad + "武器で攻撃する(A)");
    EXPECT_EQ(Row(22), kPad + "逃げる(R)");
    EXPECT_EQ(s.redrawRequest, 1);
}

TEST_F(FightFlowTest, TheStealthWalkMakesSurprisingTheMonstersLikelier) {
    s.stealthWalk = 1;
    s.surprise = 0;
    SeedSoThat([](double r) { return 5 > r * 20 && !(2 > r * 20); });
    Keys("x");
    Run([&] { StartFight(g); });
    EXPECT_EQ(s.surprise, 1);
    EXPECT_TRUE(RowStartsWith(3, " しかし"));
    EXPECT_TRUE(Row(3).find("はアキラに気付いていない！") != std::string::npos);
    EXPECT_EQ(Row(4), " どうする？");
}

TEST_F(FightFlowTest, TheMonstersStrikingFirstAttackBeforeTheFirstTurn) {
    s.surprise = 0;
    SeedWhere(2, [](const std::vector<double>& r) { return !(2 > r[0] * 20) && 2 > r[1] * 20; });
    Keys("x");
    Run([&] { StartFight(g); });
    EXPECT_TRUE(RowStartsWith(3, " なんと"));
    EXPECT_TRUE(Row(3).find("はアキラが気付くより早く攻撃してきた！") != std::string::npos);
    EXPECT_EQ(Row(4), " 何かキーを押して下さい");
    Keys("xxx");
    SeedWhere(2, [](const std::vector<double>& r) { return !(2 > r[0] * 20) && 2 > r[1] * 20; });
    Run([&] { StartFight(g); });
    EXPECT_EQ(s.surprise, 0);
    EXPECT_TRUE(Row(1).find("匹いる！") != std::string::npos) << "the turn starts again";
}

TEST_F(FightFlowTest, TheMasterComesAloneWithoutASurpriseRoll) {
    s.bossFight = "1";
    s.surprise = 0;
    s.stealthWalk = 1;
    const RandomGenerator before = rt.random;
    Keys("x");
    Run([&] { StartFight(g); });
    EXPECT_EQ(DrawsSince(before), 0);
    EXPECT_EQ(s.monsterKind, 30);
    EXPECT_EQ(s.lastMonster, 0);
    EXPECT_EQ(s.monsterHp(0), 700);
    EXPECT_TRUE(RowStartsWith(1, " ダークキングが 1 匹現れた！"));
}

TEST_F(FightFlowTest, VictoryGivesExperiencePerLevelHalvedWithACompanion) {
    Group(3, 2);
    s.monsterHp(0) = 0;
    s.monsterHp(1) = 0;
    s.companionName = "ザーン"_sj;
    s.heroLevel = 2;
    s.heroStats(10) = 10;
    s.gold = 999990;
    const auto r = NextRnd(4);
    Keys("x");
    Run([&] { fight::Victory(g); });
    EXPECT_EQ(Row(1), " 魔物を全滅させました！");
    EXPECT_EQ(Row(3), " アキラは 125 ポイントの経験値を得ました");
    EXPECT_EQ(s.heroStats(10), 135);
    const double gold = std::floor((std::floor(r[0] * 25 + 25) + std::floor(r[1] * 25 + 25)) / 2);
    EXPECT_EQ(Row(4), " アキラは" + Num(gold) + "ゴールドを得ました");
    EXPECT_EQ(s.gold, 999999);
    const bool chest = !(r[3] * 10 > 1);
    EXPECT_EQ(Event(1, 2, 0), chest ? "T" : "1");
    EXPECT_EQ(Row(chest ? 8 : 6), " 何かキーを押して下さい");
}

TEST_F(FightFlowTest, TheMasterAlwaysLeavesAChestAndTheArmourBlessingEnds) {
    Group(30, 1);
    s.monsterHp(0) = -5;
    s.bossFight = "1";
    s.fightArmourBonus = 10;
    s.stepTaken = 0;
    s.heroLevel = 50;
    const RandomGenerator before = rt.random;
    Keys("x");
    Run([&] { fight::Victory(g); });
    EXPECT_EQ(DrawsSince(before), 3) << "only the gold of the three slots";
    EXPECT_EQ(Row(6), " 魔物は宝箱を持っていました！");
    EXPECT_EQ(Row(8), " 何かキーを押して下さい");
    EXPECT_EQ(Event(1, 2, 0), "T");
    EXPECT_EQ(s.stepTaken, 1);
    EXPECT_EQ(s.fightArmourBonus, 0);
    EXPECT_EQ(s.heroStats(10), 140);
}

TEST_F(FightFlowTest, AFlightThatFailsLetsTheMonstersStrikeAndOneThatSucceedsEndsTheFight) {
    Group(14, 1);
    s.messageRow = 2;
    s.fightArmourBonus = 10;
    // The hero's side drawn first: a flight that fails.
    SeedWhere(2, [](const std::vector<double>& r) { return (20 + 10) * r[1] > 12 * r[0]; });
    Keys("n");
    EXPECT_EQ(Run([&] { EXPECT_EQ(fight::Flee(g), FightState::Continues); }), Ended::Returned);
    Keys("Y");
    SeedWhere(2, [](const std::vector<double>& r) { return (20 + 10) * r[1] > 12 * r[0]; });
    Run([&] { fight::Flee(g); });
    EXPECT_EQ(Row(1), " アキラは逃げ出した");
    EXPECT_EQ(Row(3), " しかし" + Utf8(s.monsterName(0)) + "に回り込まれてしまった！");
    SeedWhere(2, [](const std::vector<double>& r) { return !((20 + 10) * r[1] > 12 * r[0]); });
    Keys("Yx");
    FightState state = FightState::Continues;
    Run([&] { state = fight::Flee(g); });
    EXPECT_EQ(state, FightState::Over);
    EXPECT_EQ(Row(3), " うまく逃げることができました！");
    EXPECT_EQ(s.fightArmourBonus, 10) << "the blessing lasts into the next fight";
    // The master catches the hero whatever the numbers; an unaware group never does.
    s.bossFight = "1";
    Keys("Y");
    Run([&] { state = fight::Flee(g); });
    EXPECT_TRUE(RowStartsWith(3, " しかし"));
    s.bossFight = "0";
    s.surprise = 1;
    const RandomGenerator before = rt.random;
    Keys("Yx");
    Run([&] { state = fight::Flee(g); });
    EXPECT_EQ(state, FightState::Over);
    EXPECT_EQ(DrawsSince(before), 0);
}

TEST_F(FightFlowTest, AWeaponAttackOnAnUnawareGroupCostsItsAttack) {
    s.surprise = 0;
    Group(0, 1);
    s.surprise = 1;
    s.messageRow = 4;
    Wear(2, 7);  // 刀
    s.damageBonus = 20;
    SeedWhere(4, [](const std::vector<double>& r) { return r[2] * 2 < r[1] * 5; });
    Keys("nAYxx");
    bool over = false;
    Run([&] { over = fight::FinishWeaponTurn(g) == FightState::Over; });
    EXPECT_TRUE(over);
    EXPECT_EQ(Row(1), " 魔物を全滅させました！");
}

TEST_F(FightFlowTest, AHeroFelledInAFightIsLeftToTheExplorationLoop) {
    StandAt(1, 2, 0, kEast);
    s.heroStats(7) = 1;
    s.bodyState = "毒"_sj;
    // The monsters strike first; the poison alone fells the hero.
    s.cellEvent = "1";
    SeedWhere(3, [](const std::vector<double>& r) { return 1 > r[0] * 15 && !(2 > r[1] * 20) && 2 > r[2] * 20; });
    Keys("xxx");
    EXPECT_EQ(Run([&] { RollEncounter(g); }), Ended::Returned);
    EXPECT_LT(s.heroStats(7), 1);
    Keys("x");
    EXPECT_EQ(Run([&] { HeroDies(g); }), Ended::ByGame);
    EXPECT_EQ(Row(1), " アキラは力尽き倒れた・・・");
}

TEST_F(FightFlowTest, OneScriptedFightDrawsItsNumbersInOrder) {
    // Floor 1, a weapon attack that fells a lone slime: encounter 1, surprise 2, kind 1, size 1,
    // quickness 2, blow 4 (disease, two sides, damage), gold 3, chest 1.
    StandAt(1, 2, 0, kEast);
    s.cellEvent = "1";
    Wear(2, 7);
    s.damageBonus = 30;
    s.hitBonus = 40;
    s.heroStats(3) = 100;
    SeedWhere(10, [](const std::vector<double>& r) {
        return 1 > r[0] * 15 && !(2 > r[1] * 20) && !(2 > r[2] * 20) && std::floor(r[3] * 5) == 0 &&
               std::floor(r[4] * 3) == 0 && !(100 * r[6] < 2 * r[5]) && r[9] * 2 < r[8] * 41;
    });
    const RandomGenerator before = rt.random;
    Keys("xaYxx");
    EXPECT_EQ(Run([&] { RollEncounter(g); }), Ended::Returned);
    EXPECT_EQ(s.heroStats(10), 100);
    EXPECT_EQ(DrawsSince(before), 1 + 2 + 2 + 2 + 4 + 3 + 1);
}

TEST_F(FightFlowTest, AGroupSpellRollsAndShowsEveryMonsterApart) {
    Group(3, 3);
    s.learnedMageSpells(0) = "帰還"_sj;
    s.learnedMageSpells(2) = "魔法の刃"_sj;
    s.heroStats(8) = 12;
    s.messageRow = 2;
    const RandomGenerator before = rt.random;
    Keys("0x12");
    Run([&] { fight::CastMageSpell(g); });
    EXPECT_EQ(Row(1), " 本当に魔法の刃を使いますか？(Y/N)") << "the exact cost is enough";
    Keys("2Yxx");
    rt.random = before;
    const auto r = NextRnd(3);
    Run([&] { fight::CastMageSpell(g); });
    EXPECT_EQ(s.heroStats(8), 0);
    EXPECT_EQ(Row(1), " アキラの魔法の刃！");
    for (int i = 0; i < 3; ++i) {
        const double damage = std::floor(15 + (20 + 1) / 4.0 + r[std::size_t(i)] * 7.5);
        EXPECT_EQ(s.monsterHp(2 - i) + damage, 25 - 0) << i;
        if (i == 2) {
            EXPECT_EQ(Row(3), " ぶーぶーオークに" + Num(damage) + "ポイントのダメージを与えた！");
        }
    }
}

TEST_F(FightFlowTest, TheListsRefuseWhatCannotBeUsedInAFight) {
    Group(3, 1);
    s.learnedSkills(0) = "忍び足"_sj;
    s.learnedSkills(1) = "背後に回る"_sj;
    s.heroStats(9) = 15;
    Keys("0");
    Run([&] { fight::UseSkill(g); });
    EXPECT_EQ(Row(1), " 忍び足は戦闘中に使うことができません");
    Keys("0x");
    Run([&] { fight::UseSkill(g); });
    EXPECT_EQ(Row(1), " アキラが修得している技能です");
    EXPECT_EQ(Row(2), " 使用する技能を数字キーで選んでください");
    EXPECT_EQ(Row(5), std::string(25, ' ') + "( 0 )  忍び足");
    EXPECT_EQ(Row(22), kPad + "やっぱりやめる(N)");
    Keys("1");
    Run([&] { fight::UseSkill(g); });
    EXPECT_EQ(Row(1), " 背後に回るを使うにはテクニックポイントが足りません");
    s.learnedSkills(0).clear();
    s.learnedSkills(1).clear();
    Keys("");
    Run([&] { fight::UseSkill(g); });
    EXPECT_EQ(Row(1), " アキラは何も技能を修得していません");
}

TEST_F(FightFlowTest, StrikingFromBehindKeepsTheMonstersFromAttacking) {
    Group(14, 1);
    s.learnedSkills(0) = "背後に回る"_sj;
    s.heroStats(9) = 16;
    s.messageRow = 2;
    Keys("0Yxx");
    FightState state = FightState::Over;
    const RandomGenerator before = rt.random;
    Run([&] { state = fight::UseSkill(g); });
    EXPECT_EQ(state, FightState::Continues);
    EXPECT_EQ(s.heroStats(9), 0);
    EXPECT_TRUE(Row(1) == " アキラの攻撃！") << "no monsters' screen followed";
    EXPECT_LE(DrawsSince(before), 4);
}

TEST_F(FightFlowTest, APotionInAFightUsesTheFightsWords) {
    Group(14, 1);
    Carry(0, 0);
    Carry(1, 37);  // the stone cannot be used in a fight
    Carry(2, 59);  // 万能薬: 50 of each, cures both
    s.maxHp = 100;
    s.heroStats(7) = 70;
    s.maxMp = 60;
    s.heroStats(8) = 0;
    s.maxTp = 20;
    s.heroStats(9) = 0;
    s.bodyState = "毒"_sj;
    s.surprise = 1;
    Keys("1");
    Run([&] { fight::UseItem(g); });
    EXPECT_EQ(Row(1), " 太陽の石は戦闘中に使うことができません");
    Keys("2Y");
    Run([&] { fight::UseItem(g); });
    EXPECT_EQ(Row(3), " アキラは万能薬を使った！");
    EXPECT_EQ(Row(4), " ヒットポイントが全快した！");
    EXPECT_EQ(Row(5), " マジックポイントが 50 ポイント回復した！");
    EXPECT_EQ(Row(6), " テクニックポイントが全快した！");
    EXPECT_EQ(Row(7), " 体内の毒が消えた！");
    EXPECT_EQ(Row(8), " 病気が治った！");
    EXPECT_EQ(Row(10), " 何かキーを押して下さい");
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
    // After the key the potion is gone and the unaware group loses its attack.
    Keys("2Yx");
    FightState state = FightState::Over;
    EXPECT_EQ(Run([&] { state = fight::UseItem(g); }), Ended::Returned);
    EXPECT_EQ(state, FightState::Continues);
    EXPECT_EQ(s.inventoryName(2), "");
    EXPECT_EQ(s.surprise, 0);
    EXPECT_EQ(s.monstersActed, 1);
}

}  // namespace
}  // namespace kestran::game::testing
