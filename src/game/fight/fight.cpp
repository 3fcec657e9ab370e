#include "game/fight/fight.h"

namespace kestran::game {

// Being built: no fight starts yet.
void RollEncounter(Game&) {}
void StartFight(Game&) {}

}  // namespace kestran::game
