#include "game/hero/character_sheet.h"

#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "runtime/runtime.h"
#include "runtime/values/return_table.h"

namespace kestran::game {
namespace {

void PrintAttributes(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, 1, {"キャラクター名　"_sj, s.heroName});
    for (int i = 0; i < kAttributeCount; ++i) {
        PrintAt(g, 2, i + 3, {s.attributeNames(i)});
        PrintAt(g, 10, i + 3, {s.heroStats(i)});
    }
    PrintAt(g, 2, 11, {"利き腕 　"_sj, s.handedness});
}

void PrintDerived(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 30, 3, {"打撃修正    "_sj, s.damageBonus});
    PrintAt(g, 30, 4, {"命中修正    "_sj, s.hitBonus});
    PrintAt(g, 30, 5, {"回避修正    "_sj, s.evadeBonus});
    PrintAt(g, 30, 6, {"対物理攻撃  "_sj, s.physicalDefense});
    PrintAt(g, 30, 7, {"対魔法攻撃  "_sj, s.magicDefense});
    PrintAt(g, 30, 9, {"レベル　　　"_sj, s.heroLevel});
    PrintAt(g, 30, 11, {"経験値      "_sj, s.heroStats(kExperience)});
}

void PrintPoints(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 1, 13, {"ヒットポイント     "_sj, s.heroStats(kHitPoints), "/", s.maxHp});
    PrintAt(g, 1, 14, {"マジックポイント　 "_sj, s.heroStats(kMagicPoints), "/", s.maxMp});
    PrintAt(g, 1, 15, {"テクニックポイント "_sj, s.heroStats(kTechniquePoints), "/", s.maxTp});
}

}  // namespace

void ShowCharacterSheet(Game& g) {
    PbGosub call(g.rt);
    ClearScreen(g);
    PrintAttributes(g);
    PrintDerived(g);
    PrintPoints(g);
    PrintAt(g, 2, 17, {"所持金  "_sj, g.s.gold, "G"});
    PrintAt(g, 30, 17, {"状態      "_sj, g.s.bodyState});
}

}  // namespace kestran::game
