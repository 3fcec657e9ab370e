// The names of the thirty abilities the guild teaches, in the order of its four lists:
// warrior skills, thief skills, mage spells, priest spells.
#include "game/state/tables.h"

namespace kestran::game {
namespace {

constexpr TableText kAbilityNames[kAbilityCount] = {
    "気合斬"_sj,      // 0
    "斬撃波"_sj,      // 1
    "斬撃陣"_sj,      // 2
    "滅破弾撃"_sj,    // 3
    "爆滅連波斬"_sj,  // 4
    "解除"_sj,        // 5
    "忍び足"_sj,      // 6
    "背後に回る"_sj,  // 7
    "鑑定"_sj,        // 8
    "急所を狙う"_sj,  // 9
    "魔法の矢"_sj,    // 10
    "魔法の刃"_sj,    // 11
    "炎の玉"_sj,      // 12
    "氷の槍"_sj,      // 13
    "雷撃"_sj,        // 14
    "火炎の渦"_sj,    // 15
    "氷の嵐"_sj,      // 16
    "雷撃波"_sj,      // 17
    "帰還"_sj,        // 18
    "魔力爆裂"_sj,    // 19
    "軽傷を癒す"_sj,  // 20
    "神の盾"_sj,      // 21
    "解毒"_sj,        // 22
    "神の拳"_sj,      // 23
    "病気を治す"_sj,  // 24
    "重傷を癒す"_sj,  // 25
    "浄化"_sj,        // 26
    "戦神の槌"_sj,    // 27
    "神の癒し"_sj,    // 28
    "戦神の怒り"_sj,  // 29
};

}  // namespace

std::span<const TableText, kAbilityCount> AbilityNameTable() {
    return kAbilityNames;
}

}  // namespace kestran::game
