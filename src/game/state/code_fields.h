// Readers of the fields of an item code string and of a monster code string, each read the way
// the game reads it: VAL of a MID$ or RIGHT$ slice, positions counted from 1. Numbers come back
// as expression values; store them through PbStore like any other game expression.
//
// Item codes: type letter, then for "W" and "S" (13 characters) power 2-3, hit bonus or magic
// resistance 4-5, strength needed 6-7, both hands 8; for "A", "H", "G", "B" (12 characters) the
// same without position 8; for "P" (16 characters) cure digit 2 and the hit, magic and technique
// points restored at 3-5, 6-8, 9-11. The price is always the last five characters.
// Monster codes (6 characters): breath 1, affliction 2, spell 3, hit points 4-6.
#pragma once

#include <source_location>
#include <string_view>

#include "runtime/values/sjis.h"

namespace kestran::game {

// "W" weapon, "S" shield, "A" body armour, "H" head gear, "G" arm gear, "B" foot gear, "P" potion.
PbString ItemType(std::string_view code, std::source_location where = std::source_location::current());
// Attack power of a weapon, armour value of anything worn.
double ItemPower(std::string_view code, std::source_location where = std::source_location::current());
// Hit bonus of a weapon, magic resistance of anything worn.
double ItemHitOrResistance(std::string_view code, std::source_location where = std::source_location::current());
// Compared with strength; meaningless for "P" codes, whose positions 6-7 belong to the magic points.
double ItemStrengthNeeded(std::string_view code, std::source_location where = std::source_location::current());
// Read only for items put into a hand ("W" and "S").
bool ItemNeedsBothHands(std::string_view code, std::source_location where = std::source_location::current());
double ItemPrice(std::string_view code, std::source_location where = std::source_location::current());

// 0 nothing, 1 cures poison, 2 cures disease, 3 cures both, 4 carries the hero back to town.
double PotionCure(std::string_view code, std::source_location where = std::source_location::current());
double PotionHitPoints(std::string_view code, std::source_location where = std::source_location::current());
double PotionMagicPoints(std::string_view code, std::source_location where = std::source_location::current());
double PotionTechniquePoints(std::string_view code, std::source_location where = std::source_location::current());

bool MonsterBreathes(std::string_view code, std::source_location where = std::source_location::current());
// 0 none, 1 poison, 2 disease, 3 poison and disease.
double MonsterAffliction(std::string_view code, std::source_location where = std::source_location::current());
bool MonsterCastsSpell(std::string_view code, std::source_location where = std::source_location::current());
// Also the monster's power in every fight formula.
double MonsterHitPoints(std::string_view code, std::source_location where = std::source_location::current());

}  // namespace kestran::game
