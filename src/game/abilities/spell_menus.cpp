#include "game/abilities/spell_menus.h"

#include <array>

#include "game/abilities/skill_menus.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/hero_rules.h"
#include "game/text_table.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr auto kReturnSpell = "帰還"_sj;
constexpr float kReturnCost = 15;

enum class Effect { LightHeal, Antidote, CureIllness, HeavyHeal, Purify, DivineHeal };

struct PriestSpell {
    std::string_view name;
    char key;
    float cost;
    Effect effect;
    std::string_view menuText;
    std::string_view question;
    std::string_view castLine;  // printed after heroName
};

// In the order the menu's keys are tested.
constexpr std::array<PriestSpell, 6> kPriestSpells{{
    {kText<"軽傷を癒す">, 'L', 10, Effect::LightHeal, kText<"軽傷を癒すを唱える(L)">,
     kText<"本当に軽傷を癒すを唱えますか？(Y/N)">, kText<"は軽傷を癒すを唱えました">},
    {kText<"解毒">, 'A', 5, Effect::Antidote, kText<"解毒を唱える(A)">, kText<"本当に解毒を唱えますか？(Y/N)">,
     kText<"は解毒の呪文を唱えました">},
    {kText<"病気を治す">, 'I', 5, Effect::CureIllness, kText<"病気を治すを唱える(I)">,
     kText<"本当に病気を治すを唱えますか？(Y/N)">, kText<"は病気を治すを唱えました">},
    {kText<"重傷を癒す">, 'S', 18, Effect::HeavyHeal, kText<"重傷を癒すを唱える(S)">,
     kText<"本当に重傷を癒すを唱えますか？(Y/N)">, kText<"は重傷を癒すを唱えました">},
    {kText<"浄化">, 'C', 7, Effect::Purify, kText<"浄化を唱える(C)">, kText<"本当に浄化を唱えますか？(Y/N)">,
     kText<"は浄化の呪文を唱えました">},
    {kText<"神の癒し">, 'G', 27, Effect::DivineHeal, kText<"神の癒しを唱える(G)">,
     kText<"本当に神の癒しを唱えますか？(Y/N)">, kText<"は神の癒しの呪文を唱えました">},
}};

const PriestSpell* PriestSpellNamed(std::string_view name) {
    for (const PriestSpell& spell : kPriestSpells) {
        if (spell.name == name) return &spell;
    }
    return nullptr;
}

void DrawMageSpellMenu(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, "が習得している魔術師呪文です"_sj});
    for (int i = 0; i < kLearnedSlots; ++i) {
        const PbString& name = s.learnedMageSpells(i);
        if (name.empty()) continue;
        PrintAt(g, 33, i + 4, {name});
        if (name == kReturnSpell.view()) PrintAt(g, 55, 21, {"帰還を唱える(C)"_sj});
    }
    PrintChoices(g, 22, {"戻る(R)"_sj});
}

void DrawPriestSpellMenu(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, "が習得している神術師呪文です"_sj});
    double hintRow = 21;
    for (int i = kLearnedSlots - 1; i >= 0; --i) {
        const PbString& name = s.learnedPriestSpells(i);
        if (name.empty()) continue;
        PrintAt(g, 33, i + 4, {name});
        if (const PriestSpell* spell = PriestSpellNamed(name)) PrintAt(g, 55, hintRow--, {spell->menuText});
    }
    PrintChoices(g, 22, {"戻る(R)"_sj});
}

// Hit points raised by INT(RND * spread + least), at most to maxHp.
void Heal(Game& g, double spread, double least) {
    GameState& s = g.s;
    const double gain = PbInt(double(PbRnd(g.rt)) * spread + least);
    s.heroStats(kHitPoints) = PbStore(double(s.heroStats(kHitPoints)) + gain);
    if (s.heroStats(kHitPoints) > s.maxHp) s.heroStats(kHitPoints) = s.maxHp;
}

void PrintHitPointsLine(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, 4,
            {s.heroName, "のヒットポイントは"_sj, s.heroStats(kHitPoints), "( 最大"_sj, s.maxHp,
             ")ポイントになりました"_sj});
}

// The spell's effect and its result line on row 4.
void ApplyPriestSpell(Game& g, Effect effect) {
    GameState& s = g.s;
    switch (effect) {
        case Effect::LightHeal:
            Heal(g, 10, 21);
            return PrintHitPointsLine(g);
        case Effect::HeavyHeal:
            Heal(g, 20, 51);
            return PrintHitPointsLine(g);
        case Effect::Antidote:
            CurePoison(s);
            return PrintAt(g, 1, 4, {"体内の毒が消えました"_sj});
        case Effect::CureIllness:
            CureDisease(s);
            return PrintAt(g, 1, 4, {"病気が治りました"_sj});
        case Effect::Purify:
            s.bodyState = "通常"_sj;
            return PrintAt(g, 1, 4, {s.heroName, "の体の状態は通常になりました"_sj});
        case Effect::DivineHeal:
            s.bodyState = "通常"_sj;
            s.heroStats(kHitPoints) = s.maxHp;
            return PrintAt(g, 1, 4, {s.heroName, "の体は完全に回復しました"_sj});
    }
}

}  // namespace

MenuExit MageSpellMenu(Game& g) {
    GameState& s = g.s;
    if (s.learnedMageSpells(0).empty()) {
        ShowNotice(g, {s.heroName, "は何も魔術師呪文を習得していません"_sj});
        return MenuExit::Returned;
    }
    for (;;) {
        DrawMageSpellMenu(g);
        PbString key;
        do {
            key = ReadKey(g);
            if (IsKey(key, 'R')) return MenuExit::Returned;
        } while (!IsKey(key, 'C'));
        if (IsLearned(s.learnedMageSpells, kReturnSpell) && CastReturn(g) == MenuExit::TripHome) {
            return MenuExit::TripHome;
        }
    }
}

MenuExit CastReturn(Game& g) {
    GameState& s = g.s;
    if (s.heroStats(kMagicPoints) < kReturnCost) {
        ShowNotice(g, {kReturnSpell, "の呪文を唱えるにはマジックポイントが足りません"_sj});
        return MenuExit::Returned;
    }
    ClearScreen(g);
    PrintAt(g, 1, 1, {"本当に帰還の呪文を唱えますか？(Y/N)"_sj});
    if (ReadYesNo(g) == Answer::No) return MenuExit::Returned;
    PrintAt(g, 1, 3, {kReturnSpell, "の呪文を唱えました"_sj});
    PrintAt(g, 1, 4, {s.heroName, "はまばゆい光に包まれ街に帰還しました"_sj});
    PromptForKey(g, 6);
    s.dungeonFloor = 0;
    s.stealthWalk = 0;
    s.heroStats(kMagicPoints) = PbStore(double(s.heroStats(kMagicPoints)) - kReturnCost);
    return MenuExit::TripHome;
}

void PriestSpellMenu(Game& g) {
    GameState& s = g.s;
    if (s.learnedPriestSpells(0).empty()) return ShowNotice(g, {s.heroName, "は何も神術師呪文を習得していません"_sj});
    for (;;) {
        DrawPriestSpellMenu(g);
        const PriestSpell* chosen = nullptr;
        while (chosen == nullptr) {
            const PbString key = ReadKey(g);
            if (IsKey(key, 'R')) return;
            for (const PriestSpell& spell : kPriestSpells) {
                if (IsKey(key, spell.key)) chosen = &spell;
            }
        }
        CastPriestSpell(g, chosen->name);
    }
}

void CastPriestSpell(Game& g, std::string_view name) {
    GameState& s = g.s;
    const PriestSpell* spell = PriestSpellNamed(name);
    if (spell == nullptr || !IsLearned(s.learnedPriestSpells, spell->name)) return;
    if (s.heroStats(kMagicPoints) < spell->cost) {
        return ShowNotice(g, {spell->name, "を唱えるにはマジックポイントが足りません"_sj});
    }
    ClearScreen(g);
    PrintAt(g, 1, 1, {spell->question});
    if (ReadYesNo(g) == Answer::No) return;
    PrintAt(g, 1, 3, {s.heroName, spell->castLine});
    ApplyPriestSpell(g, spell->effect);
    s.heroStats(kMagicPoints) = PbStore(double(s.heroStats(kMagicPoints)) - spell->cost);
    PromptForKey(g, 6);
}

}  // namespace kestran::game
