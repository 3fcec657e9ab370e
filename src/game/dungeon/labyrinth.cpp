#include "game/dungeon/labyrinth.h"

namespace kestran::game {

// Not built yet (see the header).
Scene ExploreLabyrinth(Game&) {
    return Scene::TownMenu;
}

}  // namespace kestran::game
