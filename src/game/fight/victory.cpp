#include "game/dungeon/map_cells.h"
#include "game/fight/fight_internal.h"
#include "game/hero/level_up.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "runtime/values/numbers.h"

namespace kestran::game::fight {
namespace {

constexpr double kGoldCap = 999999;
constexpr int kGroupSlots = 3;

// Experience per level of the hero: ten per hit point of every monster of the group, halved
// (rounded down) with a companion.
double ExperienceGained(GameState& s) {
    double gain = 0;
    for (int i = 0; i < kGroupSlots; ++i)
        gain += PbInt(double(s.monsterPower(i)) * 10);
    if (!s.companionName.empty()) gain = PbInt(gain / 2);
    return PbInt(PbDivide(gain, s.heroLevel));
}

// Each slot, an empty one too, draws its RND.
double GoldFound(Game& g) {
    GameState& s = g.s;
    double found = 0;
    for (int i = 0; i < kGroupSlots; ++i)
        found += PbInt(Rnd(g) * s.monsterPower(i) + s.monsterPower(i));
    if (!s.companionName.empty()) found = PbInt(found / 2);
    return found;
}

// The master always leaves a chest; other groups one time in ten.
bool LeavesChest(Game& g) {
    if (g.s.bossFight == "1") return true;
    return !(Rnd(g) * 10 > 1);
}

}  // namespace

FightState Victory(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"魔物を全滅させました！"_sj});
    s.fightArmourBonus = 0;
    const double experience = ExperienceGained(s);
    PrintAt(g, 1, 3, {s.heroName, "は"_sj, float(experience), "ポイントの経験値を得ました"_sj});
    s.heroStats(kExperience) = PbStore(s.heroStats(kExperience) + experience);
    const double found = GoldFound(g);
    PrintAt(g, 1, 4, {s.heroName, "は"_sj, float(found), "ゴールドを得ました"_sj});
    s.gold = PbStore(s.gold + found);
    s.messageRow = 6;
    if (s.gold > kGoldCap) s.gold = PbStore(kGoldCap);
    if (LeavesChest(g)) {
        PrintAt(g, 1, 6, {"魔物は宝箱を持っていました！"_sj});
        SetHeroCellEvent(s, "T");
        s.stepTaken = 1;
        s.messageRow = 8;
    }
    PromptForKey(g, s.messageRow);
    CheckLevelUp(g);
    return FightState::Over;
}

FightState Flee(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, s.messageRow + 2.0, {"本当に逃げますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return FightState::Continues;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, "は逃げ出した"_sj});
    bool caught = false;
    if (s.surprise != 1) {
        const double heroSide = s.heroStats(kAgility) * Rnd(g);
        const double monsterSide = (double(s.monsterPower(0)) / 5 + 10) * Rnd(g);
        caught = monsterSide > heroSide || s.bossFight == "1";
    }
    if (!caught) {
        PrintAt(g, 1, 3, {"うまく逃げることができました！"_sj});
        PromptForKey(g, 4);
        return FightState::Over;
    }
    PrintAt(g, 1, 3, {"しかし"_sj, s.monsterName(0), "に回り込まれてしまった！"_sj});
    PromptForKey(g, 4);
    MonstersAttack(g);
    return HeroDown(s) ? FightState::Over : FightState::Continues;
}

}  // namespace kestran::game::fight
