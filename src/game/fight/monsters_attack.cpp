#include "game/fight/fight_internal.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "runtime/values/numbers.h"

namespace kestran::game::fight {
namespace {

constexpr int kHands[] = {2, 3};
constexpr int kArmourSlots[] = {0, 1, 4, 5};

// The armour worn (or its magic resistance): head, body, arms and feet always, a hand only when
// it holds a shield.
double ArmourSum(GameState& s, double (*field)(std::string_view, std::source_location)) {
    double sum = 0;
    for (int slot : kArmourSlots)
        sum += field(s.equipCode(slot), std::source_location::current());
    for (int hand : kHands) {
        if (ItemType(s.equipCode(hand)) == "S") sum += field(s.equipCode(hand), std::source_location::current());
    }
    return sum;
}

void HeroTakes(Game& g, double damage) {
    GameState& s = g.s;
    s.damageTaken = PbStore(damage < 1 ? 1 : damage);
    Wound(s.heroStats(kHitPoints), s.damageTaken);
    PrintAt(g, 1, s.messageRow + 1.0, {s.heroName, "は"_sj, s.damageTaken, "ポイントのダメージを受けた！"_sj});
}

// One chance in ten, with a new RND, for each affliction the monster's blows carry.
void Afflict(Game& g, double affliction) {
    GameState& s = g.s;
    if (affliction == 1 || affliction == 3) {
        if (!(1 < Rnd(g) * 10)) {
            s.messageRow = PbStore(s.messageRow + 1.0);
            AddPoison(s);
            PrintAt(g, 1, s.messageRow + 1.0, {s.heroName, "は毒を受けた！"_sj});
        }
    }
    if (affliction == 2 || affliction == 3) {
        if (!(1 < Rnd(g) * 10)) {
            s.messageRow = PbStore(s.messageRow + 1.0);
            AddDisease(s);
            PrintAt(g, 1, s.messageRow + 1.0, {s.heroName, "は病気になった！"_sj});
        }
    }
}

void BlowAtHero(Game& g) {
    GameState& s = g.s;
    const double power = double(s.monsterPower(0)) / 5;
    s.damageTaken = PbStore(PbInt(Rnd(g) * power + 10 + power));
    s.armourSum = PbStore(ArmourSum(s, ItemPower));
    const double d = double(s.armourSum) + s.physicalDefense + s.fightArmourBonus;
    s.damageTaken = PbStore(double(s.damageTaken) - PbInt(Rnd(g) * (d / 2) + d / 2));
    HeroTakes(g, s.damageTaken);
    const double affliction = MonsterAffliction(s.monsterTableCode(s.monsterKind));
    if (affliction > 0) Afflict(g, affliction);
}

void BlowAtCompanion(Game& g, int i) {
    GameState& s = g.s;
    const double companionSide = Rnd(g) * (double(s.heroLevel) * 10 + 50);
    const double monsterSide = Rnd(g) * s.monsterPower(i);
    const auto outcome =
        monsterSide > companionSide ? "の攻撃を受けた！"_sj.view() : "の攻撃をひらりとかわした！"_sj.view();
    PrintAt(g, 1, s.messageRow + 1.0, {s.companionName, "は"_sj, s.monsterName(i), outcome});
}

void Breath(Game& g, int i) {
    GameState& s = g.s;
    PrintAt(g, 1, s.messageRow, {s.monsterName(i), "のブレス攻撃！"_sj});
    HeroTakes(g, PbInt(10 + double(s.monsterHp(i)) / 2) - s.physicalDefense);
}

void Spell(Game& g, int i) {
    GameState& s = g.s;
    PrintAt(g, 1, s.messageRow, {s.monsterName(i), "の魔法攻撃！"_sj});
    s.armourSum = PbStore(ArmourSum(s, ItemHitOrResistance));
    HeroTakes(g, PbInt(10 + double(s.monsterPower(i)) / 3 + Rnd(g) * 10) - (double(s.magicDefense) + s.armourSum));
}

// Monster i's attack: the companion, its breath, its spell or a blow, each test drawing its RND
// whatever its other condition.
void MonsterActs(Game& g, int i) {
    GameState& s = g.s;
    const PbString& code = s.monsterTableCode(s.monsterKind);
    PrintAt(g, 1, s.messageRow, {s.monsterName(i), "の攻撃！"_sj});
    if (const double roll = Rnd(g); !s.companionName.empty() && 2 > roll * 5) return BlowAtCompanion(g, i);
    if (const double roll = Rnd(g); 1 > roll * 3 && MonsterBreathes(code)) return Breath(g, i);
    if (const double roll = Rnd(g); 1 > roll * 3 && MonsterCastsSpell(code)) return Spell(g, i);
    const double evasion = Rnd(g) * s.evadeBonus;
    const double attack = (double(s.monsterPower(0)) / 5 + 5) * Rnd(g);
    if (attack > evasion) return BlowAtHero(g);
    PrintAt(g, 1, s.messageRow + 1.0, {s.heroName, "は"_sj, s.monsterName(i), "の攻撃をひらりとかわした！"_sj});
}

}  // namespace

void MonstersAttack(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    s.messageRow = 1;
    if (IsPoisoned(s)) Wound(s.heroStats(kHitPoints), 1);
    for (int i = 0; i <= int(s.lastMonster); ++i) {
        MonsterActs(g, i);
        s.messageRow = PbStore(s.messageRow + 3.0);
    }
    PromptForKey(g, s.messageRow);
}

}  // namespace kestran::game::fight
