// The bonus points shared out over the seven attributes with "+", "-" and Enter, as the creation
// and the level-up both do it; the chosen points stand in pointsAdded.
#pragma once

#include <string_view>

#include "game/game.h"

namespace kestran::game {

// One pass over the attributes: the heading on row 1, the attributes with their values from row
// 4, the points left ("残りのボーナスポイント") on `pointsRow`, pointsAdded cleared first. There is
// no way back to an earlier attribute.
void DistributeBonusPoints(Game& g, std::string_view heading, double pointsRow);

// Gives every point of pointsAdded back to bonusPoints, for a distribution started again.
void GiveBackBonusPoints(GameState& s);

}  // namespace kestran::game
