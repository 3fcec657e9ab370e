#include "game/hero/level_up.h"

#include "game/game_screen.h"
#include "game/hero/bonus_distribution.h"
#include "game/hero/character_sheet.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/hero_rules.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"
#include "runtime/values/return_table.h"

namespace kestran::game {
namespace {

constexpr double kExperiencePerLevel = 1000;
constexpr double kLastLevel = 50;

void RestoreFully(GameState& s) {
    s.heroStats(kHitPoints) = s.maxHp;
    s.heroStats(kMagicPoints) = s.maxMp;
    s.heroStats(kTechniquePoints) = s.maxTp;
    s.bodyState = "通常"_sj;
}

void SpendExperience(GameState& s) {
    s.heroStats(kExperience) = PbStore(s.heroStats(kExperience) - kExperiencePerLevel);
}

// Every point must be used: a distribution with points left is started again.
void Distribute(Game& g) {
    GameState& s = g.s;
    for (;;) {
        DistributeBonusPoints(g, "レベルアップボーナスを振り分けて下さい"_sj, 13);
        if (s.bonusPoints >= 1) {
            PrintAt(g, 1, 19, {"レベルアップボーナスが残っています"_sj});
            PrintAt(g, 1, 20, {"何かキーを押すともう一度やり直します"_sj});
            WaitForKey(g);
        } else {
            PrintAt(g, 1, 19, {"これでよろしいですか？(Y/N)"_sj});
            if (ReadYesNo(g) == Answer::Yes) return;
        }
        GiveBackBonusPoints(s);
    }
}

}  // namespace

void CheckLevelUp(Game& g) {
    if (g.s.heroStats(kExperience) > kExperiencePerLevel - 1) LevelUp(g);
}

void LevelUp(Game& g) {
    PbGosub call(g.rt);
    GameState& s = g.s;
    if (s.heroLevel == kLastLevel) {
        SpendExperience(s);
        return RestoreFully(s);
    }
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, "はレベルが上がりました！"_sj});
    PromptForKey(g, 2);
    s.bonusPoints = PbStore(4 + PbInt(double(PbRnd(g.rt)) * 3));
    if (double(PbRnd(g.rt)) * 200 < 1) s.bonusPoints = PbStore(s.bonusPoints + 10.0);
    s.heroLevel = PbStore(s.heroLevel + 1.0);
    SpendExperience(s);
    Distribute(g);
    for (int i = 0; i < kAttributeCount; ++i)
        s.heroStats(i) = PbStore(double(s.heroStats(i)) + s.pointsAdded(i));
    ComputeDerivedStatsCapped(s);
    s.bodyState = "通常"_sj;
    ShowCharacterSheet(g);
    PrintAt(g, 1, 20, {"以上のようにレベルアップしました！"_sj});
    PrintAt(g, 1, 21, {"冒険を再開します"_sj});
    PromptForKey(g, 22);
}

}  // namespace kestran::game
