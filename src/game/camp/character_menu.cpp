#include "game/camp/character_menu.h"

#include <optional>

#include "game/abilities/skill_menus.h"
#include "game/abilities/spell_menus.h"
#include "game/camp/inventory_screen.h"
#include "game/game_screen.h"
#include "game/hero/character_sheet.h"
#include "runtime/values/return_table.h"

namespace kestran::game {
namespace {

// Reads keys until one means something and carries it out. Nothing: draw the menu again.
std::optional<MenuExit> RunChosenMenu(Game& g) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'R')) return MenuExit::Returned;
        if (IsKey(key, 'I')) {
            if (InventoryScreen(g) == MenuExit::TripHome) return MenuExit::TripHome;
        } else if (IsKey(key, 'T')) {
            SkillMenu(g);
        } else if (IsKey(key, 'M')) {
            if (MageSpellMenu(g) == MenuExit::TripHome) return MenuExit::TripHome;
        } else if (IsKey(key, 'P')) {
            PriestSpellMenu(g);
        } else {
            PrintBackHint(g);
            continue;
        }
        return std::nullopt;
    }
}

}  // namespace

MenuExit CharacterMenu(Game& g) {
    PbGosub call(g.rt);
    for (;;) {
        ShowCharacterSheet(g);
        PrintChoices(g, 18,
                     {"持ち物を見る(I)"_sj, "技能を見る(T)"_sj, "神術師呪文を見る(P)"_sj, "魔術師呪文を見る(M)"_sj,
                      "戻る(R)"_sj});
        if (const auto exit = RunChosenMenu(g)) return *exit;
    }
}

Scene TownCharacterMenu(Game& g) {
    return CharacterMenu(g) == MenuExit::TripHome ? Scene::ReturnToTown : Scene::Town;
}

}  // namespace kestran::game
