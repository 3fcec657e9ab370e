#include "game/backpack_list.h"

#include "game/game_screen.h"
#include "game/hero_slots.h"

namespace kestran::game {

void ListBackpack(Game& g, std::string_view heading, std::string_view prompt, std::string_view leave) {
    GameState& s = g.s;
    PrintAt(g, 1, 1, {heading});
    PrintAt(g, 1, 2, {prompt});
    for (int i = 0; i < kBackpackSlots; ++i) {
        if (!s.inventoryName(i).empty()) PrintAt(g, 25, i + 5, {"(", float(i), ")  ", s.inventoryName(i)});
    }
    PrintChoices(g, 22, {leave});
}

}  // namespace kestran::game
