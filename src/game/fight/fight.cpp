#include "game/fight/fight.h"

#include "game/dungeon/corridor_view.h"
#include "game/fight/fight_internal.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/code_fields.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace fight {
namespace {

constexpr double kEncounterSides = 15;
constexpr double kMaster = 30;
constexpr int kGroupSlots = 3;

void ResetTurnValues(GameState& s) {
    s.turnDamageBonus = 0;
    s.turnHitBonus = 0;
    s.hitsAll = 0;
    s.abilityCost = 0;
}

void EmptyGroup(GameState& s) {
    for (int i = 0; i < kGroupSlots; ++i) {
        s.monsterName(i).clear();
        s.monsterHp(i) = 0;
        s.monsterPower(i) = 0;
    }
}

// Surprise either way (the stealth walk helps), then a group of one to three of the floor's kinds.
void RollGroup(Game& g) {
    GameState& s = g.s;
    if (s.bossFight == "1") {
        s.monsterKind = kMaster;
        s.lastMonster = 0;
        return;
    }
    if (double(s.stealthWalk) * 3 + 2 > Rnd(g) * 20) {
        s.surprise = 1;
    } else if (2 - double(s.stealthWalk) > Rnd(g) * 20) {
        s.surprise = 2;
    }
    s.monsterKind = PbStore(PbInt(Rnd(g) * 5 + (double(s.dungeonFloor) - 1) * 5));
    s.lastMonster = PbStore(PbInt(Rnd(g) * 3));
}

void FillGroup(GameState& s) {
    for (double i = 0; i <= s.lastMonster; ++i) {
        s.monsterName(i) = s.monsterTableName(s.monsterKind);
        s.monsterHp(i) = PbStore(MonsterHitPoints(s.monsterTableCode(s.monsterKind)));
        s.monsterPower(i) = s.monsterHp(i);
    }
}

void PrintUnaware(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, 3, {"しかし"_sj, s.monsterName(0), "は"_sj, s.heroName, "に気付いていない！"_sj});
    s.messageRow = 4;
}

// The monsters strike before the hero has noticed them.
FightState StruckFirst(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, 3, {"なんと"_sj, s.monsterName(0), "は"_sj, s.heroName, "が気付くより早く攻撃してきた！"_sj});
    PromptForKey(g, 4);
    s.surprise = 0;
    MonstersAttack(g);
    return HeroDown(s) ? FightState::Over : FightState::Continues;
}

void DrawMenuAndPanel(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, s.messageRow, {"どうする？"_sj});
    PrintChoices(g, 17,
                 {"武器で攻撃する(A)"_sj, "技能を使う(T)"_sj, "道具を使う(I)"_sj, "魔術師呪文を唱える(M)"_sj,
                  "神術師呪文を唱える(P)"_sj, "逃げる(R)"_sj});
    PrintNameAndPoints(g);
    PrintCompanionLines(g);
}

// "A": the question, the monsters' quickness, then the blow.
FightState WeaponAttack(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, s.messageRow + 2.0, {"武器で攻撃しますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return FightState::Continues;
    s.monstersActed = 0;
    if (s.surprise == 1) {
        s.surprise = 0;
        s.monstersActed = 1;
    } else {
        const double monsterSide = (double(s.monsterPower(0)) / 5) * Rnd(g);
        const double heroSide = s.heroStats(kAgility) * Rnd(g);
        if (heroSide < monsterSide) {
            s.monstersActed = 1;
            MonstersAttack(g);
            if (HeroDown(s)) return FightState::Over;
        }
    }
    return FinishWeaponTurn(g);
}

// One turn: its screen (on the first turn the heading of the encounter stays), its menu, and the
// action chosen. Keys that mean nothing are ignored.
FightState CombatTurn(Game& g, bool first) {
    GameState& s = g.s;
    if (!first) {
        ClearScreen(g);
        s.messageRow = 2;
        ResetTurnValues(s);
        PrintAt(g, 1, 1, {s.monsterName(0), "は"_sj, float(double(s.lastMonster) + 1), "匹いる！"_sj});
    }
    if (s.surprise == 1) PrintUnaware(g);
    if (s.surprise == 2) return StruckFirst(g);
    DrawMenuAndPanel(g);
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'A')) return WeaponAttack(g);
        if (IsKey(key, 'T')) return UseSkill(g);
        if (IsKey(key, 'I')) return UseItem(g);
        if (IsKey(key, 'P')) return CastPriestSpell(g);
        if (IsKey(key, 'M')) return CastMageSpell(g);
        if (IsKey(key, 'R')) return Flee(g);
    }
}

}  // namespace
}  // namespace fight

void RollEncounter(Game& g) {
    GameState& s = g.s;
    s.bossFight = "0";
    if (PbVal(s.cellEvent) > fight::Rnd(g) * fight::kEncounterSides) {
        s.surprise = 0;
        StartFight(g);
    }
}

void StartFight(Game& g) {
    using namespace fight;
    GameState& s = g.s;
    PrintAt(g, 1, 22, {"魔物に遭遇しました！(何かキーを押して下さい)"_sj});
    EmptyGroup(s);
    WaitForKey(g);
    RollGroup(g);
    FillGroup(s);
    ClearScreen(g);
    s.redrawRequest = 1;
    s.messageRow = 2;
    ResetTurnValues(s);
    PrintAt(g, 1, 1, {s.monsterName(0), "が"_sj, float(double(s.lastMonster) + 1), "匹現れた！"_sj});
    if (s.surprise == 1) PrintUnaware(g);
    for (bool first = true; CombatTurn(g, first) == FightState::Continues;)
        first = false;
}

}  // namespace kestran::game
