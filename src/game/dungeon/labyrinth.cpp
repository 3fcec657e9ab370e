#include "game/dungeon/labyrinth.h"

#include "game/camp/camp_menu.h"
#include "game/dungeon/cell_events.h"
#include "game/dungeon/corridor_view.h"
#include "game/dungeon/map_cells.h"
#include "game/game_screen.h"
#include "game/hero/companions.h"
#include "game/hero_slots.h"
#include "game/state/hero_rules.h"
#include "runtime/frame/program.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

constexpr char kCursorRight = 28;
constexpr char kCursorLeft = 29;
constexpr char kCursorUp = 30;
constexpr char kCursorDown = 31;
constexpr double kElevatorFloors = 3;

// What a key of the exploration loop leads to.
enum class Move { Redraw, ToTown };

void Greet(Game& g) {
    GameState& s = g.s;
    if (const Companion* c = CompanionByFirstCharacter(s.companionName)) s.companionLine = c->entranceLine;
    ClearScreen(g);
    PrintAt(g, 1, 1, {"迷宮の入り口で"_sj, s.companionName, "が待っていました"_sj});
    PrintAt(g, 1, 3, {s.companionName, s.companionLine});
    PrintAt(g, 1, 5, {"何かキーを押すと迷宮に入ります"_sj});
    WaitForKey(g);
}

void LoseHitPoint(GameState& s) {
    s.heroStats(kHitPoints) = PbStore(double(s.heroStats(kHitPoints)) - 1);
}

// One pass of the redraw: the poison of a step, the corridor and the panel, the cell arrived in
// (with the fight it may start), the hero's death, and again after a fight.
void Redraw(Game& g) {
    GameState& s = g.s;
    for (;;) {
        ClearScreen(g);
        if (s.stepTaken == 1 && IsPoisoned(s)) LoseHitPoint(s);
        DrawView(g);
        DrawStatusPanel(g);
        if (s.stepTaken == 1) CheckCell(g);
        if (s.heroStats(kHitPoints) < 1) HeroDies(g);
        if (s.redrawRequest != 1) return;
        s.redrawRequest = 0;
    }
}

void ChangeFloor(GameState& s, double floor) {
    s.dungeonFloor = PbStore(floor);
    s.stealthWalk = 0;
    s.stepTaken = 1;
}

// The elevator of floors 1 to 3; only an upper-case "N" cancels.
void RideElevator(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"エレベーターに乗りました"_sj});
    PrintAt(g, 1, 2, {"行きたいフロアーを指定して下さい(1-3)"_sj});
    PrintAt(g, 55, 22, {"やっぱりやめる(N)"_sj});
    for (;;) {
        const PbString key = ReadKey(g);
        if (key == "N") return;
        const double floor = PbVal(key);
        if (floor >= 1 && floor <= kElevatorFloors) {
            ChangeFloor(g.s, floor);
            return;
        }
    }
}

void StepForward(GameState& s) {
    s.stepTaken = 1;
    if (s.facing == kWest) s.posX = PbStore(double(s.posX) - 1);
    if (s.facing == kNorth) s.posY = PbStore(double(s.posY) - 1);
    if (s.facing == kEast) s.posX = PbStore(double(s.posX) + 1);
    if (s.facing == kSouth) s.posY = PbStore(double(s.posY) + 1);
}

void Turn(GameState& s, int quarterTurns) {
    s.facing = PbStore(TurnedDirection(s.facing, quarterTurns));
}

// Reads keys until one means something here, and carries it out.
Move ReadExploreKey(Game& g) {
    GameState& s = g.s;
    s.stepTaken = 0;
    for (;;) {
        const PbString key = ReadKey(g);
        const char code = key.size() == 1 ? key[0] : 0;
        if (code == kCursorUp && !HeroCellWalled(s, s.facing)) {
            StepForward(s);
            return Move::Redraw;
        }
        if (code == kCursorUp) RetellView(g);
        if (code == kCursorLeft) return Turn(s, -1), Move::Redraw;
        if (code == kCursorRight) return Turn(s, 1), Move::Redraw;
        if (code == kCursorDown) return Turn(s, 2), Move::Redraw;
        if (IsKey(key, 'C')) return CampMenu(g) == CampExit::TripHome ? Move::ToTown : Move::Redraw;
        // The cell as it is now, not as the last arrival found it: an emptied chest is "1".
        const PbString event = HeroCellEvent(s);
        if (event == "U" && IsKey(key, 'U')) {
            ChangeFloor(s, double(s.dungeonFloor) - 1);
            return s.dungeonFloor == 0 ? Move::ToTown : Move::Redraw;
        }
        if (event == "D" && IsKey(key, 'D')) return ChangeFloor(s, double(s.dungeonFloor) + 1), Move::Redraw;
        if (event == "T" && IsKey(key, 'O')) return OpenChest(g), Move::Redraw;
        if (event == "E" && IsKey(key, 'E')) return RideElevator(g), Move::Redraw;
    }
}

}  // namespace

Scene EnterLabyrinth(Game& g) {
    GameState& s = g.s;
    s.dungeonFloor = 1;
    s.facing = kEast;
    s.posX = 1;
    s.posY = 0;
    s.stepTaken = 1;
    if (!s.companionName.empty()) Greet(g);
    return ExploreLoop(g);
}

Scene ExploreLoop(Game& g) {
    for (;;) {
        Redraw(g);
        if (ReadExploreKey(g) == Move::ToTown) return Scene::ReturnToTown;
    }
}

void HeroDies(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {g.s.heroName, "は力尽き倒れた・・・"_sj});
    WaitForKey(g);
    PbEnd(g.rt, kExitNormal);
}

}  // namespace kestran::game
