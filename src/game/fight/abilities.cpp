#include <array>
#include <optional>
#include <span>

#include "game/fight/fight_internal.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "game/state/hero_rules.h"
#include "game/text_table.h"
#include "runtime/values/numbers.h"

namespace kestran::game::fight {
namespace {

enum class Kind {
    Strike,          // a skill that strengthens the weapon attack
    StrikeFromBack,  // "背後に回る": the monsters lose their attack this turn
    MageAttack,
    PriestAttack,
    LightHeal,
    HeavyHeal,
    Shield,
    Antidote,
    CureIllness,
    Purify,
    DivineHeal,
};

struct Ability {
    std::string_view name;
    Kind kind;
    double power;  // the skill's damage bonus, or the spell's power P
    double hitBonus;
    double cost;
    bool hitsAll;
};

constexpr std::array<Ability, 7> kSkills{{
    {kText<"気合斬">, Kind::Strike, 10, 0, 1, false},
    {kText<"斬撃波">, Kind::Strike, 20, 10, 5, false},
    {kText<"斬撃陣">, Kind::Strike, 20, 10, 12, true},
    {kText<"滅破弾撃">, Kind::Strike, 50, 20, 8, false},
    {kText<"爆滅連波斬">, Kind::Strike, 50, 20, 20, true},
    {kText<"急所を狙う">, Kind::Strike, 500, 0, 25, false},
    {kText<"背後に回る">, Kind::StrikeFromBack, 0, 0, 16, false},
}};

constexpr std::array<Ability, 9> kMageSpells{{
    {kText<"魔法の矢">, Kind::MageAttack, 20, 0, 7, false},
    {kText<"魔法の刃">, Kind::MageAttack, 15, 0, 12, true},
    {kText<"炎の玉">, Kind::MageAttack, 25, 0, 8, false},
    {kText<"氷の槍">, Kind::MageAttack, 27, 0, 9, false},
    {kText<"雷撃">, Kind::MageAttack, 30, 0, 11, false},
    {kText<"火炎の渦">, Kind::MageAttack, 25, 0, 15, true},
    {kText<"氷の嵐">, Kind::MageAttack, 27, 0, 17, true},
    {kText<"雷撃波">, Kind::MageAttack, 30, 0, 21, true},
    {kText<"魔力爆裂">, Kind::MageAttack, 70, 0, 28, true},
}};

constexpr std::array<Ability, 10> kPriestSpells{{
    {kText<"軽傷を癒す">, Kind::LightHeal, 0, 0, 10, false},
    {kText<"神の盾">, Kind::Shield, 0, 0, 3, false},
    {kText<"解毒">, Kind::Antidote, 0, 0, 5, false},
    {kText<"神の拳">, Kind::PriestAttack, 30, 0, 12, false},
    {kText<"病気を治す">, Kind::CureIllness, 0, 0, 5, false},
    {kText<"重傷を癒す">, Kind::HeavyHeal, 0, 0, 18, false},
    {kText<"浄化">, Kind::Purify, 0, 0, 7, false},
    {kText<"戦神の槌">, Kind::PriestAttack, 70, 0, 21, false},
    {kText<"神の癒し">, Kind::DivineHeal, 0, 0, 27, false},
    {kText<"戦神の怒り">, Kind::PriestAttack, 70, 0, 35, true},
}};

// One of the three lists as the turn menu shows it.
struct ListForm {
    PbArray<PbString> GameState::*learned;
    std::span<const Ability> abilities;
    std::string_view nothingLearned;
    std::string_view heading;
    std::string_view prompt;
    HeroStat points;
};

bool IsAttack(const Ability& a) {
    return a.kind == Kind::Strike || a.kind == Kind::StrikeFromBack || a.kind == Kind::MageAttack ||
           a.kind == Kind::PriestAttack;
}

const Ability* Find(std::span<const Ability> abilities, std::string_view name) {
    for (const Ability& a : abilities) {
        if (a.name == name) return &a;
    }
    return nullptr;
}

void DrawList(Game& g, const ListForm& form) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.heroName, form.heading});
    PrintAt(g, 1, 2, {form.prompt});
    for (int i = 0; i < kLearnedSlots; ++i) {
        const PbString& name = (s.*form.learned)(i);
        if (!name.empty()) PrintAt(g, 25, i + 5, {"(", float(i), ")  ", name});
    }
    PrintChoices(g, 22, {"やっぱりやめる(N)"_sj});
    s.turnDamageBonus = 0;
    s.turnHitBonus = 0;
    s.hitsAll = 0;
    s.abilityCost = 0;
}

// The cost test and the question. False: back to the list.
bool AffordedAndConfirmed(Game& g, const ListForm& form, const Ability& a) {
    GameState& s = g.s;
    const bool skill = form.points == kTechniquePoints;
    if (!(s.abilityCost <= s.heroStats(form.points))) {
        const auto lack = skill         ? "を使うにはテクニックポイントが足りません"_sj.view()
                          : IsAttack(a) ? "を使うにはマジックポイントが足りません"_sj.view()
                                        : "を唱えるにはマジックポイントが足りません"_sj.view();
        ShowNotice(g, {a.name, lack});
        return false;
    }
    ClearScreen(g);
    PrintAt(g, 1, 1,
            {"本当に"_sj, a.name, IsAttack(a) ? "を使いますか？(Y/N)"_sj.view() : "を唱えますか？(Y/N)"_sj.view()});
    return ReadYesNo(g) == Answer::Yes;
}

// The ability chosen from the list and paid for after its question, or none: back to the turn
// screen. Entries that cannot be used in a fight say so and show the list again; an empty entry
// reads the next key.
const Ability* Choose(Game& g, const ListForm& form) {
    GameState& s = g.s;
    if ((s.*form.learned)(0).empty()) {
        ShowNotice(g, {s.heroName, form.nothingLearned});
        return nullptr;
    }
    for (;;) {
        DrawList(g, form);
        const Ability* chosen = nullptr;
        while (chosen == nullptr) {
            const PbString key = ReadKey(g);
            if (IsKey(key, 'N')) return nullptr;
            const PbString& name = (s.*form.learned)(PbVal(key));
            if (name.empty()) continue;
            chosen = Find(form.abilities, name);
            if (chosen == nullptr) {
                ShowNotice(g, {name, "は戦闘中に使うことができません"_sj});
                break;
            }
        }
        if (chosen == nullptr) continue;
        s.turnDamageBonus = PbStore(chosen->power);
        s.turnHitBonus = PbStore(chosen->hitBonus);
        s.hitsAll = chosen->hitsAll ? 1 : 0;
        s.abilityCost = PbStore(chosen->cost);
        if (AffordedAndConfirmed(g, form, *chosen)) return chosen;
    }
}

void Pay(GameState& s, HeroStat points) {
    s.heroStats(points) = PbStore(double(s.heroStats(points)) - s.abilityCost);
}

// A surprised group loses its attack in the turn the hero first acts.
void SurpriseSpent(GameState& s) {
    if (s.surprise == 1) {
        s.surprise = 0;
        s.monstersActed = 1;
    }
}

// After any spell: the victory, the surprise spent, the companion and the monsters.
FightState SpellTurnEnd(Game& g) {
    if (GroupBeaten(g.s)) return Victory(g);
    SurpriseSpent(g.s);
    return EndOfTurn(g);
}

// A whole weapon attack on each monster of the group in turn, from the last slot down.
FightState GroupWeaponAttack(Game& g) {
    GameState& s = g.s;
    for (double i = s.lastMonster; i >= 0; --i) {
        HeroWeaponAttack(g, i, true);
        PromptForKey(g, s.messageRow);
    }
    CloseUpGroup(s);
    if (GroupBeaten(s)) return Victory(g);
    return EndOfTurn(g);
}

FightState PerformSkill(Game& g, const Ability& skill) {
    GameState& s = g.s;
    PrintAt(g, 1, 3, {s.heroName, "は"_sj, skill.name, "を使った！"_sj});
    PromptForKey(g, 4);
    Pay(s, kTechniquePoints);
    if (skill.kind == Kind::StrikeFromBack) {
        s.monstersActed = 1;
        return FinishWeaponTurn(g);
    }
    s.monstersActed = 0;
    SurpriseSpent(s);
    return s.hitsAll == 0 ? FinishWeaponTurn(g) : GroupWeaponAttack(g);
}

double SpellDamage(Game& g, const Ability& spell) {
    GameState& s = g.s;
    const double p = spell.power;
    if (spell.kind == Kind::PriestAttack) return p + PbInt(Rnd(g) * (p / 2));
    return PbInt(p + (double(s.heroStats(kIntelligence)) + s.heroLevel) / 4 + Rnd(g) * (p / 2));
}

FightState CastAttackSpell(Game& g, const Ability& spell) {
    GameState& s = g.s;
    Pay(s, kMagicPoints);
    s.monstersActed = 0;
    if (s.hitsAll == 0) {
        const double target = s.lastMonster;
        const double damage = SpellDamage(g, spell);
        s.messageRow = 6;
        PrintAt(g, 1, 3, {s.heroName, "は"_sj, spell.name, "を唱えた！"_sj});
        PrintDamageDealt(g, 4, target, damage);
        Wound(s.monsterHp(target), damage);
        if (s.monsterHp(target) < 1) {
            PrintAt(g, 1, 5, {s.monsterName(target), "は倒れた！"_sj});
            s.messageRow = 7;
            s.lastMonster = PbStore(s.lastMonster - 1.0);
        }
        PromptForKey(g, s.messageRow);
        return SpellTurnEnd(g);
    }
    for (double i = s.lastMonster; i >= 0; --i) {
        ClearScreen(g);
        s.messageRow = 4;
        PrintAt(g, 1, 1, {s.heroName, "の"_sj, spell.name, "！"_sj});
        const double damage = SpellDamage(g, spell);
        PrintDamageDealt(g, 3, i, damage);
        Wound(s.monsterHp(i), damage);
        if (s.monsterHp(i) < 1) {
            PrintAt(g, 1, 4, {s.monsterName(i), "は倒れた！"_sj});
            s.messageRow = 6;
        }
        PromptForKey(g, s.messageRow);
    }
    CloseUpGroup(s);
    return SpellTurnEnd(g);
}

void PrintHitPoints(Game& g) {
    GameState& s = g.s;
    PrintAt(
        g, 1, 4,
        {s.heroName, "のヒットポイントは"_sj, s.heroStats(kHitPoints), "( 最大"_sj, s.maxHp, ")ポイントになった！"_sj});
}

void Heal(Game& g, std::string_view castLine, double spread, double least) {
    GameState& s = g.s;
    PrintAt(g, 1, 3, {s.heroName, castLine});
    s.heroStats(kHitPoints) = PbStore(s.heroStats(kHitPoints) + PbInt(Rnd(g) * spread + least));
    Pay(s, kMagicPoints);
    if (s.heroStats(kHitPoints) >= s.maxHp) s.heroStats(kHitPoints) = s.maxHp;
    PrintHitPoints(g);
}

// The priest's spells that heal, cure or protect.
void CastBlessing(Game& g, const Ability& spell) {
    GameState& s = g.s;
    const auto say = [&](std::string_view cast, std::string_view result) {
        PrintAt(g, 1, 3, {s.heroName, cast});
        PrintAt(g, 1, 4, {s.heroName, result});
        Pay(s, kMagicPoints);
    };
    switch (spell.kind) {
        case Kind::LightHeal:
            Heal(g, "は軽傷を癒すを唱えた！"_sj, 10, 21);
            break;
        case Kind::HeavyHeal:
            Heal(g, "は重傷を癒すを唱えた！"_sj, 20, 51);
            break;
        case Kind::Shield:
            say("は神の盾を唱えた！"_sj, "は聖なる力に守られ防御力が上昇した！"_sj);
            s.fightArmourBonus = 10;
            break;
        case Kind::Antidote:
            say("は解毒の呪文を唱えた！"_sj, "の体内の毒が消えた！"_sj);
            CurePoison(s);
            break;
        case Kind::CureIllness:
            say("は病気を治すを唱えた！"_sj, "の病気が治った！"_sj);
            CureDisease(s);
            break;
        case Kind::Purify:
            say("は浄化の呪文を唱えた！"_sj, "の体の状態は通常になった！"_sj);
            s.bodyState = "通常"_sj;
            break;
        case Kind::DivineHeal:
            s.bodyState = "通常"_sj;
            s.heroStats(kHitPoints) = s.maxHp;
            say("は神の癒しの呪文を唱えた！"_sj, "の体は完全に回復した！"_sj);
            break;
        default:
            break;
    }
    PromptForKey(g, 6);
    s.monstersActed = 0;
}

const ListForm kSkillForm{&GameState::learnedSkills,
                          kSkills,
                          kText<"は何も技能を修得していません">,
                          kText<"が修得している技能です">,
                          kText<"使用する技能を数字キーで選んでください">,
                          kTechniquePoints};
const ListForm kMageForm{&GameState::learnedMageSpells,
                         kMageSpells,
                         kText<"は何も魔術師呪文を習得していません">,
                         kText<"が習得している魔術師呪文です">,
                         kText<"使用する呪文を数字キーで選んでください">,
                         kMagicPoints};
const ListForm kPriestForm{&GameState::learnedPriestSpells,
                           kPriestSpells,
                           kText<"は何も神術師呪文を習得していません">,
                           kText<"が習得している神術師呪文です">,
                           kText<"使用する呪文を数字キーで選んでください">,
                           kMagicPoints};

}  // namespace

FightState UseSkill(Game& g) {
    const Ability* skill = Choose(g, kSkillForm);
    return skill ? PerformSkill(g, *skill) : FightState::Continues;
}

FightState CastMageSpell(Game& g) {
    const Ability* spell = Choose(g, kMageForm);
    return spell ? CastAttackSpell(g, *spell) : FightState::Continues;
}

FightState CastPriestSpell(Game& g) {
    const Ability* spell = Choose(g, kPriestForm);
    if (!spell) return FightState::Continues;
    if (spell->kind == Kind::PriestAttack) return CastAttackSpell(g, *spell);
    CastBlessing(g, *spell);
    return SpellTurnEnd(g);
}

}  // namespace kestran::game::fight
