#include "game/dungeon/map_cells.h"

#include "runtime/values/strings.h"

namespace kestran::game {

PbString HeroCellEvent(GameState& s, std::source_location where) {
    return PbMid(s.mapEvents(double(s.dungeonFloor) - 1, s.posY, where), s.posX, 1, where);
}

void SetHeroCellEvent(GameState& s, std::string_view event, std::source_location where) {
    PbMidAssign(s.mapEvents(double(s.dungeonFloor) - 1, s.posY, where), s.posX, 1, event, where);
}

}  // namespace kestran::game
