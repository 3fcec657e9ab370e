#include "game/dungeon/cell_events.h"
#include "game/dungeon/labyrinth.h"
#include "game/dungeon/map_cells.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr double kDisarmCost = 5;
constexpr auto kThiefCompanion = "ミリィス"_sj;

enum class ChestChoice { Leave, Companion, Disarm, Open };

bool KnowsDisarm(GameState& s) {
    for (int i = 0; i < kLearnedSlots; ++i) {
        if (s.learnedSkills(i) == "解除"_sj.view()) return true;
    }
    return false;
}

// The chest menu, with the companion's and the skill's choices only when they are offered.
ChestChoice ChooseHowToOpen(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"宝箱を開けます"_sj});
    PrintAt(g, 55, 21, {"そのまま開ける(O)"_sj});
    PrintAt(g, 55, 22, {"やっぱりやめる(N)"_sj});
    double companionRow = 20;
    for (int i = 0; i < kLearnedSlots; ++i) {
        if (s.learnedSkills(i) != "解除"_sj.view()) continue;
        PrintAt(g, 55, 20, {"罠を解除する(C)"_sj});
        companionRow = 19;
    }
    const bool companionHelps = s.companionName == kThiefCompanion.view();
    if (companionHelps) PrintAt(g, 55, companionRow, {s.companionName, "にお願いする(M)"_sj});
    const bool canDisarm = KnowsDisarm(s);
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'N')) return ChestChoice::Leave;
        if (IsKey(key, 'M') && companionHelps) return ChestChoice::Companion;
        if (IsKey(key, 'C') && canDisarm) return ChestChoice::Disarm;
        if (IsKey(key, 'O')) return ChestChoice::Open;
    }
}

// True when the companion opened the chest; false when the player said no.
bool CompanionOpens(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.companionName, "に宝箱を開けてもらいますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return false;
    PrintAt(g, 1, 3, {s.companionName, "「えへへっ！まかせてよ！」"_sj});
    PrintAt(g, 1, 5, {s.companionName, "に宝箱を開けてもらいました"_sj});
    PrintAt(g, 1, 6, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    return true;
}

// True when the trap was disarmed and the chest opened; false back to the menu.
bool Disarm(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    if (s.heroStats(kTechniquePoints) < kDisarmCost) {
        PrintAt(g, 1, 1, {"罠を解除するにはテクニックポイントが足りません"_sj});
        PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
        WaitForKey(g);
        return false;
    }
    PrintAt(g, 1, 1, {"本当に罠を解除しますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return false;
    s.heroStats(kTechniquePoints) = PbStore(double(s.heroStats(kTechniquePoints)) - kDisarmCost);
    PrintAt(g, 1, 3, {"罠を外して宝箱を開けました！"_sj});
    PrintAt(g, 1, 4, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    return true;
}

// The trap's damage: dungeonFloor + 1 throws of a ten-sided die.
void SpringTrap(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, 3, {"罠に引っかかった"_sj});
    s.damageTaken = 0;
    for (double t = 1; t <= double(s.dungeonFloor) + 1; ++t)
        s.damageTaken = PbStore(double(s.damageTaken) + PbInt(double(PbRnd(g.rt)) * 10) + 1);
    PrintAt(g, 1, 4, {s.heroName, "は"_sj, s.damageTaken, "ポイントのダメージを受けた"_sj});
    s.heroStats(kHitPoints) = PbStore(double(s.heroStats(kHitPoints)) - s.damageTaken);
    PrintAt(g, 1, 6, {"何かキーを押して下さい"_sj});
    if (s.heroStats(kHitPoints) < 1) HeroDies(g);
    WaitForKey(g);
}

// True when the chest was opened (safely or through its trap); false back to the menu.
bool OpenDirectly(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"本当にそのまま開けますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return false;
    const double luck = double(PbRnd(g.rt)) * 200;
    if (!(s.heroStats(kDexterity) > luck)) SpringTrap(g);
    return true;
}

}  // namespace

void OpenChest(Game& g) {
    for (;;) {
        bool opened = false;
        switch (ChooseHowToOpen(g)) {
            case ChestChoice::Leave:
                return;
            case ChestChoice::Companion:
                opened = CompanionOpens(g);
                break;
            case ChestChoice::Disarm:
                opened = Disarm(g);
                break;
            case ChestChoice::Open:
                opened = OpenDirectly(g);
                break;
        }
        if (opened) {
            FindItem(g);
            return;
        }
    }
}

}  // namespace kestran::game
