#include "game/camp/character_menu.h"

namespace kestran::game {

// Being built: back to the caller at once.
MenuExit CharacterMenu(Game&) {
    return MenuExit::Returned;
}

Scene TownCharacterMenu(Game& g) {
    return CharacterMenu(g) == MenuExit::TripHome ? Scene::ReturnToTown : Scene::Town;
}

}  // namespace kestran::game
