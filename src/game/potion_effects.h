// What a potion does, in the camp and in a fight alike: hit, magic and technique points restored
// and poison and disease cured, in that order, each with its line; only the wording differs.
#pragma once

#include <string_view>

#include "game/game.h"

namespace kestran::game {

struct PotionWords {
    std::string_view hitPoints;      // "ヒットポイントが", then the amount and `recovered`
    std::string_view hitPointsFull;  // the points reach the maximum
    std::string_view magicPoints;
    std::string_view magicPointsFull;
    std::string_view techniquePoints;  // its full line needs the maximum exceeded, not reached
    std::string_view techniquePointsFull;
    std::string_view recovered;  // "ポイント回復しました"
    std::string_view poisonCured;
    std::string_view diseaseCured;
};

// The camp's wording ("…しました") and the fight's ("…した！").
extern const PotionWords kCampPotionWords;
extern const PotionWords kFightPotionWords;

// The cure digit of the stone that carries the hero home.
constexpr double kCarriesHome = 4;

// Whether any backpack slot holds a "P" item.
bool CarriesPotion(GameState& s);

// Applies the effects of the potion `code`; each effect adds 1 to messageRow and prints its line
// at (1, messageRow). The cure messages show even when there is nothing to cure.
void ApplyPotion(Game& g, std::string_view code, const PotionWords& words);

}  // namespace kestran::game
