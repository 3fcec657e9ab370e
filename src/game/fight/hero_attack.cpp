#include "game/dungeon/labyrinth.h"
#include "game/fight/fight_internal.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game::fight {
namespace {

constexpr int kRightHand = 2;
constexpr int kLeftHand = 3;

bool HoldsWeapon(GameState& s, int hand) {
    return ItemType(s.equipCode(hand)) == "W";
}

// The weaker hand of a one-handed hero strikes at half its hit bonus and attack, unrounded.
bool Weaker(GameState& s, int hand) {
    return s.handedness == (hand == kRightHand ? "左"_sj.view() : "右"_sj.view());
}

// The hit test of a blow: a diseased hero misses one blow in three (its RND is drawn for every
// blow); otherwise the hero's bonus against the monster's power, the right-hand side first.
bool BlowHits(Game& g, double target, double hitBonus) {
    GameState& s = g.s;
    const double diseaseRoll = Rnd(g);
    if (IsDiseased(s) && 1 > diseaseRoll * 3) return false;
    const double heroSide = Rnd(g) * hitBonus;
    const double monsterSide = Rnd(g) * (double(s.monsterPower(target)) / 5);
    return monsterSide < heroSide;
}

// A hand's blow. The right hand prints at rows 3 and 4; the left hand on the rows after the
// right hand's lines.
void StrikeWithHand(Game& g, int hand, double target) {
    GameState& s = g.s;
    const bool right = hand == kRightHand;
    const PbString& weapon = s.equipName(hand);
    if (!BlowHits(g, target, double(s.hitBonus) + s.handHitBonus)) {
        s.messageRow = PbStore(s.messageRow + 2.0);
        const double row = right ? 3 : s.messageRow - 2.0;
        PrintAt(g, 1, row,
                {s.monsterName(target), right ? "は右手の"_sj : "は左手の"_sj, weapon,
                 "による攻撃をひらりとかわした！"_sj});
        return;
    }
    s.messageRow = PbStore(s.messageRow + 3.0);
    const double hitRow = right ? 3 : s.messageRow - 3.0;
    PrintAt(g, 1, hitRow, {right ? "右手の"_sj : "左手の"_sj, weapon, "による攻撃が命中！"_sj});
    s.handAttack = PbStore(ItemPower(s.equipCode(hand)) + s.turnDamageBonus);
    if (Weaker(s, hand)) s.handAttack = PbStore(s.handAttack / 2.0);
    const double a = double(s.handAttack) + s.damageBonus;
    const double damage = PbInt(Rnd(g) * (a / 2) + a / 2);
    PrintDamageDealt(g, hitRow + 1, target, damage);
    Wound(s.monsterHp(target), damage);
    if (s.monsterHp(target) < 1) MonsterFalls(g, target);
}

void StrikeBareHanded(Game& g, double target) {
    GameState& s = g.s;
    PrintAt(g, 1, 3, {s.heroName, "は武器を持っていないので素手で"_sj, s.monsterName(0), "に踊りかかった！"_sj});
    if (!BlowHits(g, target, double(s.hitBonus) + s.turnHitBonus)) {
        s.messageRow = PbStore(s.messageRow + 3.0);
        PrintAt(g, 1, 4, {s.monsterName(target), "は素手による攻撃をひらりとかわした！"_sj});
        return;
    }
    s.messageRow = PbStore(s.messageRow + 4.0);
    PrintAt(g, 1, 4, {"素手による攻撃が命中！"_sj});
    const double b = double(s.damageBonus) + s.turnDamageBonus;
    const double damage = PbInt((Rnd(g) * b) / 2 + b / 2);
    PrintDamageDealt(g, 5, target, damage);
    Wound(s.monsterHp(target), damage);
    if (s.monsterHp(target) < 1) MonsterFalls(g, target);
}

void SetHandHitBonus(GameState& s, int hand) {
    s.handHitBonus = 0;
    if (HoldsWeapon(s, hand)) s.handHitBonus = PbStore(ItemHitOrResistance(s.equipCode(hand)) + s.turnHitBonus);
    if (Weaker(s, hand)) s.handHitBonus = PbStore(s.handHitBonus / 2.0);
}

void TargetFell(GameState& s, double target, bool groupAttack) {
    if (!groupAttack && s.monsterHp(target) < 1) s.lastMonster = PbStore(s.lastMonster - 1.0);
}

}  // namespace

double Rnd(Game& g) {
    return PbRnd(g.rt);
}

void Wound(float& hitPoints, double damage) {
    hitPoints = PbStore(double(hitPoints) - damage);
}

bool HeroDown(GameState& s) {
    return s.heroStats(kHitPoints) < 1;
}

bool GroupBeaten(GameState& s) {
    return s.monsterHp(0) < 1;
}

void PrintDamageDealt(Game& g, double row, double target, double damage) {
    PrintAt(g, 1, row, {g.s.monsterName(target), "に"_sj, float(damage), "ポイントのダメージを与えた！"_sj});
}

void MonsterFalls(Game& g, double target) {
    GameState& s = g.s;
    s.messageRow = PbStore(s.messageRow + 1.0);
    PrintAt(g, 1, s.messageRow - 2.0, {s.monsterName(target), "は倒れた！"_sj});
}

void CloseUpGroup(GameState& s) {
    for (bool exchanged = true; exchanged;) {
        if (s.monsterHp(0) < 1 && s.monsterHp(1) > 0) PbSwap(s.monsterHp(0), s.monsterHp(1));
        exchanged = s.monsterHp(1) < 1 && s.monsterHp(2) > 0;
        if (exchanged) PbSwap(s.monsterHp(1), s.monsterHp(2));
    }
    s.lastMonster = 0;
    if (s.monsterHp(1) > 0) s.lastMonster = 1;
    if (s.monsterHp(2) > 0) s.lastMonster = 2;
}

void HeroWeaponAttack(Game& g, double target, bool groupAttack) {
    GameState& s = g.s;
    ClearScreen(g);
    s.messageRow = 3;
    PrintAt(g, 1, 1, {s.heroName, "の攻撃！"_sj});
    SetHandHitBonus(s, kRightHand);
    if (HoldsWeapon(s, kRightHand)) StrikeWithHand(g, kRightHand, target);
    if (s.monsterHp(target) < 1) return TargetFell(s, target, groupAttack);
    SetHandHitBonus(s, kLeftHand);
    if (HoldsWeapon(s, kLeftHand)) StrikeWithHand(g, kLeftHand, target);
    if (!HoldsWeapon(s, kRightHand) && !HoldsWeapon(s, kLeftHand)) StrikeBareHanded(g, target);
    TargetFell(s, target, groupAttack);
}

FightState FinishWeaponTurn(Game& g) {
    HeroWeaponAttack(g, g.s.lastMonster, false);
    PromptForKey(g, g.s.messageRow);
    if (GroupBeaten(g.s)) return Victory(g);
    return EndOfTurn(g);
}

FightState EndOfTurn(Game& g) {
    GameState& s = g.s;
    if (!s.companionName.empty()) {
        CompanionActs(g);
        if (GroupBeaten(s)) return Victory(g);
    }
    if (s.monstersActed != 0) return FightState::Continues;
    MonstersAttack(g);
    return HeroDown(s) ? FightState::Over : FightState::Continues;
}

}  // namespace kestran::game::fight
