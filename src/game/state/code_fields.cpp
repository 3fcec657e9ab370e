#include "game/state/code_fields.h"

#include "runtime/values/numbers.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

double Field(std::string_view code, double start, double length, std::source_location where) {
    return PbVal(PbMid(code, start, length, where), where);
}

bool Flag(std::string_view code, double position, std::source_location where) {
    return PbMid(code, position, 1, where) == "1";
}

}  // namespace

PbString ItemType(std::string_view code, std::source_location where) {
    return PbLeft(code, 1, where);
}
double ItemPower(std::string_view code, std::source_location where) {
    return Field(code, 2, 2, where);
}
double ItemHitOrResistance(std::string_view code, std::source_location where) {
    return Field(code, 4, 2, where);
}
double ItemStrengthNeeded(std::string_view code, std::source_location where) {
    return Field(code, 6, 2, where);
}
bool ItemNeedsBothHands(std::string_view code, std::source_location where) {
    return Flag(code, 8, where);
}
double ItemPrice(std::string_view code, std::source_location where) {
    return PbVal(PbRight(code, 5, where), where);
}

double PotionCure(std::string_view code, std::source_location where) {
    return Field(code, 2, 1, where);
}
double PotionHitPoints(std::string_view code, std::source_location where) {
    return Field(code, 3, 3, where);
}
double PotionMagicPoints(std::string_view code, std::source_location where) {
    return Field(code, 6, 3, where);
}
double PotionTechniquePoints(std::string_view code, std::source_location where) {
    return Field(code, 9, 3, where);
}

bool MonsterBreathes(std::string_view code, std::source_location where) {
    return Flag(code, 1, where);
}
double MonsterAffliction(std::string_view code, std::source_location where) {
    return Field(code, 2, 1, where);
}
bool MonsterCastsSpell(std::string_view code, std::source_location where) {
    return Flag(code, 3, where);
}
double MonsterHitPoints(std::string_view code, std::source_location where) {
    return PbVal(PbRight(code, 3, where), where);
}

}  // namespace kestran::game
