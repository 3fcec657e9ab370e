#include "game/dungeon/cell_events.h"

#include "game/dungeon/map_cells.h"
#include "game/fight/fight.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"

namespace kestran::game {
namespace {

constexpr double kMessageRow = 22;
constexpr double kKeyRow = 20;

void CellMessage(Game& g, std::initializer_list<PrintItem> message) {
    PrintAt(g, 1, kMessageRow, message);
}

// A feature whose key the exploration loop takes.
void CellWithKey(Game& g, std::string_view message, std::string_view key) {
    CellMessage(g, {message});
    PrintAt(g, 55, kKeyRow, {key});
}

}  // namespace

void CheckCell(Game& g) {
    GameState& s = g.s;
    s.stepTaken = 0;
    s.cellEvent = HeroCellEvent(s);
    const PbString& event = s.cellEvent;
    if (event == "U") CellWithKey(g, "上り階段があります"_sj, "上に上がる(U)"_sj);
    if (event == "D") CellWithKey(g, "下り階段があります"_sj, "下に下りる(D)"_sj);
    if (event == "T") CellWithKey(g, "宝箱があります"_sj, "宝箱を開ける(O)"_sj);
    if (event == "E") CellWithKey(g, "エレベーターがあります"_sj, "エレベーターを使う(E)"_sj);
    if (event == "A") CellMessage(g, {"「休息所」と書かれた看板があります"_sj});
    if (event == "B") CellMessage(g, {"「エレベータールーム」と書かれた看板があります"_sj});
    if (event == "C") CellMessage(g, {"「危険！魔物多発地帯！」と書かれた看板があります"_sj});
    if (event == "I") {
        CellMessage(g, {s.heroName, "はやわらかな光に包まれた・・・"_sj});
        s.heroStats(kHitPoints) = s.maxHp;
    }
    if (event == "F") CellMessage(g, {"「ここから未踏地帯！」と書かれた看板があります"_sj});
    if (event == "1" || event == "3") RollEncounter(g);
    if (event == "M") CellMessage(g, {"「魔王の間」と書かれた看板があります"_sj});
    if (event == "K") {
        s.bossFight = "1";
        s.surprise = 0;
        StartFight(g);
    }
}

}  // namespace kestran::game
