#include "game/camp/character_menu.h"

namespace kestran::game {

// Not built yet (see the header).
Scene TownCharacterMenu(Game&) {
    return Scene::Town;
}

}  // namespace kestran::game
