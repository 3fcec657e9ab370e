#include "game/game.h"

#include "game/camp/character_menu.h"
#include "game/dungeon/labyrinth.h"
#include "game/hero/creation.h"
#include "game/language/catalogue.h"
#include "game/saves/saving.h"
#include "game/state/start_up.h"
#include "game/town/guild.h"
#include "game/town/item_shop.h"
#include "game/town/tavern.h"
#include "game/town/title.h"
#include "game/town/town.h"
#include "runtime/console/screen.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {

Scene RunScene(Game& g, Scene scene) {
    switch (scene) {
        case Scene::Title:
            return TitleScreen(g);
        case Scene::NewHero:
            return CreateCharacter(g);
        case Scene::LoadHero:
            return LoadCharacter(g);
        case Scene::ConvertHero:
            return ConvertCharacter(g);
        case Scene::Town:
            return EnterTown(g);
        case Scene::TownMenu:
            return TownMenu(g);
        case Scene::ReturnToTown:
            return ReturnToTown(g);
        case Scene::Inn:
            return Inn(g);
        case Scene::ItemShop:
            return ItemShop(g);
        case Scene::Guild:
            return Guild(g);
        case Scene::Tavern:
            return Tavern(g);
        case Scene::EnterLabyrinth:
            return EnterLabyrinth(g);
        case Scene::Labyrinth:
            return ExploreLoop(g);
        case Scene::CharacterMenu:
            return TownCharacterMenu(g);
    }
    return Scene::Title;
}

void RunGame(Runtime& rt, std::optional<uint32_t> seed, Language language) {
    GameState state;
    InitializeGameState(state);
    RunGame(rt, state, seed, language);
}

void RunGame(Runtime& rt, GameState& state, std::optional<uint32_t> seed, Language language, FitCheck* fitCheck) {
    PbCls(rt);
    PbRandomize(rt, seed ? *seed : static_cast<uint32_t>(PbTimer(rt)));
    Game g{rt, state, CatalogueFor(language), fitCheck};
    for (Scene scene = Scene::Title;;)
        scene = RunScene(g, scene);
}

}  // namespace kestran::game
