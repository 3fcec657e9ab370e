#include "game/town/level_up.h"

namespace kestran::game {

// Being built.
void CheckLevelUp(Game&) {}
void LevelUp(Game&) {}

}  // namespace kestran::game
