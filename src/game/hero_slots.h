// The sizes of the hero's lists and the meaning of each element of heroStats, for the screens
// that walk them.
#pragma once

namespace kestran::game {

constexpr int kAttributeCount = 7;  // heroStats 0..6, in the order of attributeNames
constexpr int kHeroStatCount = 11;
constexpr int kBackpackSlots = 10;
constexpr int kEquipSlots = 6;
constexpr int kLearnedSlots = 10;  // each of the three learned lists

// Elements of heroStats.
enum HeroStat : int {
    kStrength = 0,
    kIntelligence = 1,
    kPiety = 2,
    kAgility = 3,
    kDexterity = 4,
    kEndurance = 5,
    kSpirit = 6,
    kHitPoints = 7,
    kMagicPoints = 8,
    kTechniquePoints = 9,
    kExperience = 10,
};

}  // namespace kestran::game
