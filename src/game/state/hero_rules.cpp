#include "game/state/hero_rules.h"

#include "runtime/values/numbers.h"
#include "runtime/values/sjis_literal.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

enum Attribute { kStrength, kIntelligence, kPiety, kAgility, kDexterity, kEndurance, kSpirit };
enum Points { kHitPoints = 7, kMagicPoints = 8, kTechniquePoints = 9 };

constexpr double kNoCap = 0;
constexpr double kLevelUpCap = 999;
constexpr int kBackpackLast = 9;

// The game's variables are single-precision, so each of its quotients is one too.
double SingleQuotient(double dividend, double divisor) {
    return static_cast<float>(dividend / divisor);
}

float CappedPoints(double points, double cap, std::source_location where) {
    return PbStore(cap != kNoCap && points > cap ? cap : points, where);
}

void SetPoints(GameState& s, double cap, std::source_location where) {
    auto a = [&](int i) -> double { return s.heroStats(i, where); };
    s.heroStats(kHitPoints, where) = CappedPoints(14 + a(kEndurance) * 3 + a(kStrength), cap, where);
    s.maxHp = s.heroStats(kHitPoints, where);
    s.heroStats(kMagicPoints, where) = CappedPoints(a(kIntelligence) + a(kPiety) + a(kSpirit) * 3, cap, where);
    s.maxMp = s.heroStats(kMagicPoints, where);
    s.heroStats(kTechniquePoints, where) = CappedPoints(a(kAgility) + a(kDexterity) * 2 + a(kSpirit) * 2, cap, where);
    s.maxTp = s.heroStats(kTechniquePoints, where);
}

void SetBonuses(GameState& s, std::source_location where) {
    auto a = [&](int i) -> double { return s.heroStats(i, where); };
    const double halfLevel = SingleQuotient(s.heroLevel, 2);
    s.damageBonus = PbStore(PbInt(SingleQuotient(a(kStrength), 3) + 2 + halfLevel), where);
    s.hitBonus = PbStore(PbInt(SingleQuotient(a(kDexterity), 3) + 2 + halfLevel), where);
    s.evadeBonus = PbStore(PbInt(SingleQuotient(a(kAgility) + a(kDexterity), 4) + halfLevel), where);
    s.physicalDefense = PbStore(PbInt(SingleQuotient(a(kAgility) + a(kEndurance), 4) + halfLevel), where);
    s.magicDefense = PbStore(
        PbInt(SingleQuotient(a(kIntelligence) + a(kPiety), 8) + SingleQuotient(a(kSpirit), 4) + halfLevel), where);
}

constexpr auto kNormal = "通常"_sj;
constexpr auto kPoisoned = "毒"_sj;
constexpr auto kDiseased = "病気"_sj;
constexpr auto kBoth = "毒　病気"_sj;

// A body-state change: the state `from1` becomes `to1`, `from2` becomes `to2`, any other stays.
void Transition(PbString& state, std::string_view from1, std::string_view to1, std::string_view from2,
                std::string_view to2) {
    if (state == from1) {
        state = to1;
    } else if (state == from2) {
        state = to2;
    }
}

void SwapSlots(GameState& s, int i, int j, std::source_location where) {
    PbSwapString(s.inventoryTrueName(i, where), s.inventoryTrueName(j, where));
    PbSwapString(s.inventoryName(i, where), s.inventoryName(j, where));
    PbSwapString(s.inventoryCode(i, where), s.inventoryCode(j, where));
}

}  // namespace

void ComputeDerivedStats(GameState& s, std::source_location where) {
    SetPoints(s, kNoCap, where);
    SetBonuses(s, where);
}

void ComputeDerivedStatsCapped(GameState& s, std::source_location where) {
    SetPoints(s, kLevelUpCap, where);
    SetBonuses(s, where);
}

void PackInventory(GameState& s, std::source_location where) {
    for (int i = 0; i < kBackpackLast; ++i) {
        if (s.inventoryTrueName(i, where).empty() && !s.inventoryTrueName(i + 1, where).empty()) {
            SwapSlots(s, i, i + 1, where);
        }
    }
}

void RemoveBackpackItem(GameState& s, double slot, std::source_location where) {
    s.inventoryTrueName(slot, where).clear();
    s.inventoryName(slot, where).clear();
    s.inventoryCode(slot, where).clear();
    PackInventory(s, where);
}

bool IsPoisoned(const GameState& s, std::source_location where) {
    return PbLeftChars(s.bodyState, 1, where) == "毒"_sj.view();
}

bool IsDiseased(const GameState& s, std::source_location where) {
    return PbRightChars(s.bodyState, 1, where) == "気"_sj.view();
}

void AddPoison(GameState& s) {
    Transition(s.bodyState, kNormal, kPoisoned, kDiseased, kBoth);
}
void AddDisease(GameState& s) {
    Transition(s.bodyState, kNormal, kDiseased, kPoisoned, kBoth);
}
void CurePoison(GameState& s) {
    Transition(s.bodyState, kPoisoned, kNormal, kBoth, kDiseased);
}
void CureDisease(GameState& s) {
    Transition(s.bodyState, kDiseased, kNormal, kBoth, kPoisoned);
}

}  // namespace kestran::game
