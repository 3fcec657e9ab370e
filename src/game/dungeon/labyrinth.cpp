#include "game/dungeon/labyrinth.h"

#include "runtime/frame/program.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"

namespace kestran::game {

// Being built.
Scene EnterLabyrinth(Game& g) {
    return ExploreLoop(g);
}

Scene ExploreLoop(Game&) {
    return Scene::TownMenu;
}

void HeroDies(Game& g) {
    PbEnd(g.rt, kExitNormal);
}

}  // namespace kestran::game
