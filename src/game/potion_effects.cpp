#include "game/potion_effects.h"

#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/state/code_fields.h"
#include "game/state/hero_rules.h"
#include "game/text_table.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr double kCuresPoison = 1;
constexpr double kCuresDisease = 2;
constexpr double kCuresBoth = 3;

double NextMessageRow(GameState& s) {
    s.messageRow = PbStore(s.messageRow + 1.0);
    return s.messageRow;
}

// Points of one kind raised by `amount`, or to the maximum with the full line.
void Restore(Game& g, double amount, HeroStat stat, float maximum, std::string_view label, std::string_view full,
             bool fullWhenReached, std::string_view recovered) {
    GameState& s = g.s;
    if (amount <= 0) return;
    const double row = NextMessageRow(s);
    const double points = s.heroStats(stat);
    const bool reachesFull = fullWhenReached ? maximum <= points + amount : maximum < points + amount;
    if (reachesFull) {
        PrintAt(g, 1, row, {full});
        s.heroStats(stat) = maximum;
    } else {
        PrintAt(g, 1, row, {label, float(amount), recovered});
        s.heroStats(stat) = PbStore(points + amount);
    }
}

}  // namespace

const PotionWords kCampPotionWords{
    kText<"ヒットポイントが">,     kText<"ヒットポイントが全快しました">,
    kText<"マジックポイントが">,   kText<"マジックポイントが全快しました">,
    kText<"テクニックポイントが">, kText<"テクニックポイントが全快しました">,
    kText<"ポイント回復しました">, kText<"体内の毒が消えました">,
    kText<"病気が治りました">,
};

const PotionWords kFightPotionWords{
    kText<"ヒットポイントが">,     kText<"ヒットポイントが全快した！">,
    kText<"マジックポイントが">,   kText<"マジックポイントが全快した！">,
    kText<"テクニックポイントが">, kText<"テクニックポイントが全快した！">,
    kText<"ポイント回復した！">,   kText<"体内の毒が消えた！">,
    kText<"病気が治った！">,
};

bool CarriesPotion(GameState& s) {
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (ItemType(s.inventoryCode(i)) == "P") return true;
    }
    return false;
}

void ApplyPotion(Game& g, std::string_view code, const PotionWords& w) {
    GameState& s = g.s;
    Restore(g, PotionHitPoints(code), kHitPoints, s.maxHp, w.hitPoints, w.hitPointsFull, true, w.recovered);
    Restore(g, PotionMagicPoints(code), kMagicPoints, s.maxMp, w.magicPoints, w.magicPointsFull, true, w.recovered);
    Restore(g, PotionTechniquePoints(code), kTechniquePoints, s.maxTp, w.techniquePoints, w.techniquePointsFull, false,
            w.recovered);
    const double cure = PotionCure(code);
    if (cure == kCuresPoison || cure == kCuresBoth) {
        PrintAt(g, 1, NextMessageRow(s), {w.poisonCured});
        CurePoison(s);
    }
    if (cure == kCuresDisease || cure == kCuresBoth) {
        PrintAt(g, 1, NextMessageRow(s), {w.diseaseCured});
        CureDisease(s);
    }
}

}  // namespace kestran::game
