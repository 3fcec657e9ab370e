#include "game/hero/creation.h"

#include "game/game_screen.h"
#include "game/hero/bonus_distribution.h"
#include "game/hero/character_sheet.h"
#include "game/hero_slots.h"
#include "game/language/translate.h"
#include "game/saves/saving.h"
#include "game/state/hero_rules.h"
#include "runtime/console/line_editor.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr int kDice = 4;
constexpr double kRollTarget = 130;

enum class Step { Name, Roll, Distribute, Finish };

void EnterName(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"キャラクターを作成します"_sj});
    g.s.heroName = PbInputLine(g.rt, 1, Tr(g, " 名前を入力して下さい  "_sj), kNameRefusedBytes);
}

float RollDice(Game& g) {
    double sum = 0;
    for (int d = 0; d < kDice; ++d)
        sum += PbInt(PbRnd(g.rt) * 6.0) + 1;
    return PbStore(sum);
}

void RollAttributes(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    s.pointsAdded(0) = 0;
    s.handedness = "右"_sj;
    for (int i = 0; i < kAttributeCount; ++i) {
        s.heroStats(i) = RollDice(g);
        PrintAt(g, 2, i + 3, {s.attributeNames(i)});
        PrintAt(g, 10, i + 3, {s.heroStats(i)});
        s.pointsAdded(0) = PbStore(double(s.pointsAdded(0)) + s.heroStats(i));
    }
}

void RollBonusPoints(Game& g) {
    GameState& s = g.s;
    s.bonusPoints = PbStore(PbInt((kRollTarget - s.pointsAdded(0)) / 3.0));
    if (s.bonusPoints < 1) s.bonusPoints = 1;
    s.bonusPoints = PbStore(s.bonusPoints + PbInt(PbRnd(g.rt) * 6.0));
    if (PbRnd(g.rt) * 200.0 < 1) s.bonusPoints = PbStore(s.bonusPoints + 10.0);
    PrintAt(g, 1, 1, {"キャラクター名  "_sj, s.heroName});
    PrintAt(g, 1, 13, {"ボーナスポイント"_sj, s.bonusPoints});
}

void RollHandedness(Game& g) {
    GameState& s = g.s;
    if (PbRnd(g.rt) * 10.0 < 1) {
        s.handedness = "左"_sj;
        if (PbRnd(g.rt) * 10.0 < 1) s.handedness = "両"_sj;
    }
    PrintAt(g, 2, 11, {"利き腕　 "_sj, s.handedness});
}

// "これでよろしいですか？(Y/N)" at row 19, asked again after every other key.
Answer AskAtRow19(Game& g) {
    for (;;) {
        PrintAt(g, 1, 19, {"これでよろしいですか？(Y/N)"_sj});
        const PbString key = ReadKey(g);
        if (IsKey(key, 'Y')) return Answer::Yes;
        if (IsKey(key, 'N')) return Answer::No;
    }
}

// Rolls until the player accepts a roll; the name stays.
void Roll(Game& g) {
    do {
        RollAttributes(g);
        RollBonusPoints(g);
        RollHandedness(g);
    } while (AskAtRow19(g) == Answer::No);
}

void Distribute(Game& g) {
    for (;;) {
        DistributeBonusPoints(g, "ボーナスポイントを振り分けて下さい"_sj, 12);
        if (AskAtRow19(g) == Answer::Yes) return;
        GiveBackBonusPoints(g.s);
    }
}

void Finish(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    s.gold = PbStore(500 + double(s.bonusPoints) * 100);
    s.heroStats(kExperience) = PbStore(double(s.bonusPoints) * 50);
    s.heroLevel = 1;
    s.dungeonFloor = 0;
    s.companionName.clear();
    s.reservedText.clear();
    for (int i = 0; i < kAttributeCount; ++i)
        s.heroStats(i) = PbStore(double(s.heroStats(i)) + s.pointsAdded(i));
    ComputeDerivedStats(s);
    ShowCharacterSheet(g);
}

}  // namespace

Scene CreateCharacter(Game& g) {
    do {
        EnterName(g);
        Roll(g);
        Distribute(g);
        Finish(g);
        PrintAt(g, 1, 20, {"これでよろしいですか？(Y/N)"_sj});
    } while (ReadYesNo(g) == Answer::No);
    SaveCharacter(g);
    return Scene::Town;
}

}  // namespace kestran::game
