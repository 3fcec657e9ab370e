#include "game/hero/bonus_distribution.h"

#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr char kEnter = 13;

void DrawDistribution(Game& g, std::string_view heading) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {heading});
    PrintAt(g, 1, 2, {"「+」と「-」でポイントの上下、ENTER で次に移動します"_sj});
    for (int i = 0; i < kAttributeCount; ++i) {
        s.pointsAdded(i) = 0;
        PrintAt(g, 2, i + 4, {s.attributeNames(i)});
        PrintAt(g, 10, i + 4, {s.heroStats(i)});
    }
}

// "+" and "-" move points into and out of attribute i until Enter.
void DistributeTo(Game& g, int i, double pointsRow) {
    GameState& s = g.s;
    for (;;) {
        PrintAt(g, 1, pointsRow, {"残りのボーナスポイント"_sj, s.bonusPoints});
        PrintAt(g, 15, i + 4, {s.pointsAdded(i)});
        const PbString key = ReadKey(g);
        if (key == "+" && s.bonusPoints > 0) {
            s.pointsAdded(i) = PbStore(s.pointsAdded(i) + 1.0);
            s.bonusPoints = PbStore(s.bonusPoints - 1.0);
        } else if (key == "-" && s.pointsAdded(i) > 0) {
            s.pointsAdded(i) = PbStore(s.pointsAdded(i) - 1.0);
            s.bonusPoints = PbStore(s.bonusPoints + 1.0);
        } else if (key.size() == 1 && key[0] == kEnter) {
            return;
        }
    }
}

}  // namespace

void DistributeBonusPoints(Game& g, std::string_view heading, double pointsRow) {
    DrawDistribution(g, heading);
    for (int i = 0; i < kAttributeCount; ++i)
        DistributeTo(g, i, pointsRow);
}

void GiveBackBonusPoints(GameState& s) {
    for (int i = 0; i < kAttributeCount; ++i)
        s.bonusPoints = PbStore(double(s.bonusPoints) + s.pointsAdded(i));
}

}  // namespace kestran::game
