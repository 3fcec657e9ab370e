#include "game/dungeon/corridor_view.h"

#include <array>
#include <span>

#include "game/dungeon/corridor_words.h"
#include "game/dungeon/map_cells.h"
#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "runtime/console/accessible_text.h"
#include "runtime/console/graphics.h"
#include "runtime/console/screen.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

// The six examined cells.
enum Slot : int { kHere, kAhead, kLeft, kRight, kAheadLeft, kAheadRight };
constexpr int kSlotCount = 6;

struct Segment {
    int x1, y1, x2, y2;
};

// The figures, each segment in the order it is drawn. The near frame is the square 75..325, the
// far frame 140..260; the view's outer corners are 5 and 395.
constexpr std::array<Segment, 4> kNearFront{
    {{75, 75, 75, 325}, {75, 325, 325, 325}, {325, 325, 325, 75}, {325, 75, 75, 75}}};
constexpr std::array<Segment, 3> kNearLeft{{{75, 75, 75, 325}, {75, 325, 5, 395}, {5, 5, 75, 75}}};
constexpr std::array<Segment, 3> kNearRight{{{325, 75, 325, 325}, {325, 75, 395, 5}, {395, 395, 325, 325}}};
constexpr std::array<Segment, 3> kNearLeftOpening{{{5, 325, 75, 325}, {75, 325, 75, 75}, {75, 75, 5, 75}}};
constexpr std::array<Segment, 3> kNearRightOpening{{{325, 75, 325, 325}, {325, 325, 395, 325}, {395, 75, 325, 75}}};
constexpr std::array<Segment, 4> kFarFront{
    {{140, 140, 140, 260}, {140, 260, 260, 260}, {260, 260, 260, 140}, {260, 140, 140, 140}}};
constexpr std::array<Segment, 4> kFarLeft{
    {{75, 75, 75, 325}, {140, 140, 140, 260}, {75, 75, 140, 140}, {140, 260, 75, 325}}};
constexpr std::array<Segment, 4> kFarRight{
    {{260, 140, 260, 260}, {325, 75, 325, 325}, {260, 140, 325, 75}, {260, 260, 325, 325}}};
constexpr std::array<Segment, 3> kFarLeftOpening{{{75, 260, 140, 260}, {140, 260, 140, 140}, {140, 140, 75, 140}}};
constexpr std::array<Segment, 3> kFarRightOpening{{{260, 140, 260, 260}, {260, 260, 325, 260}, {325, 140, 260, 140}}};

void DrawFigure(Game& g, std::span<const Segment> figure) {
    for (const Segment& line : figure)
        PbLine(g.rt, 0, 0, line.x1, line.y1, 0, line.x2, line.y2, kNotGiven, 0, 0, 0, kNotGiven, 3);
}

// One cell in `direction`: west and east change the column, north and south the row.
void StepIn(double direction, double& x, double& y) {
    if (direction == kWest) x -= 1;
    if (direction == kNorth) y -= 1;
    if (direction == kEast) x += 1;
    if (direction == kSouth) y += 1;
}

// The digit characters that set each wall flag: bit 1, 2, 4 and 8 of the hexadecimal value.
constexpr std::array<std::string_view, 4> kFlagDigits{"13579BDF", "2367ABEF", "4567CDEF", "89ABCDEF"};

PbString WallFlags(std::string_view digit) {
    PbString flags;
    for (std::string_view digits : kFlagDigits) {
        const bool set = digit.size() == 1 && digits.find(digit[0]) != std::string_view::npos;
        flags += set ? '1' : '0';
    }
    return flags;
}

// Reads the wall digit of one examined cell into its slot.
void Examine(GameState& s, Slot slot) {
    double x = s.posX;
    double y = s.posY;
    const double ahead = s.facing;
    if (slot == kAhead || slot == kAheadLeft || slot == kAheadRight) StepIn(ahead, x, y);
    if (slot == kLeft || slot == kAheadLeft) StepIn(TurnedDirection(ahead, -1), x, y);
    if (slot == kRight || slot == kAheadRight) StepIn(TurnedDirection(ahead, 1), x, y);
    s.viewCells(slot) = PbMid(s.mapWalls(double(s.dungeonFloor) - 1, y), x, 1);
    s.viewWalls(slot) = WallFlags(s.viewCells(slot));
}

bool Walled(GameState& s, Slot slot, double direction) {
    return PbMid(s.viewWalls(slot), direction, 1) == "1";
}
bool WalledAhead(GameState& s, Slot slot) {
    return Walled(s, slot, s.facing);
}
bool WalledLeft(GameState& s, Slot slot) {
    return Walled(s, slot, TurnedDirection(s.facing, -1));
}
bool WalledRight(GameState& s, Slot slot) {
    return Walled(s, slot, TurnedDirection(s.facing, 1));
}

// The side beside a cell: a wall when the cell is walled that way, else the opening when the
// neighbouring cell `beside` (examined only then) is walled ahead.
Side SideOf(GameState& s, bool walled, Slot beside) {
    if (walled) return Side::Wall;
    Examine(s, beside);
    return WalledAhead(s, beside) ? Side::Opening : Side::Open;
}

template <class Wall, class Opening>
void DrawSide(Game& g, Side side, const Wall& wall, const Opening& opening) {
    if (side == Side::Wall) DrawFigure(g, wall);
    if (side == Side::Opening) DrawFigure(g, opening);
}

void DrawCorridor(Game& g, const CorridorView& view) {
    if (view.nearFront) {
        DrawFigure(g, kNearFront);
    } else {
        if (view.farFront) DrawFigure(g, kFarFront);
        DrawSide(g, view.farLeft, kFarLeft, kFarLeftOpening);
        DrawSide(g, view.farRight, kFarRight, kFarRightOpening);
    }
    DrawSide(g, view.nearLeft, kNearLeft, kNearLeftOpening);
    DrawSide(g, view.nearRight, kNearRight, kNearRightOpening);
}

void PrintPicture(Game& g, double x, double y, std::string_view picture, std::initializer_list<double> values) {
    PbLocate(g.rt, x, y);
    PbPrintUsing(g.rt, picture, values, PbSep::End);
}

}  // namespace

double TurnedDirection(double direction, int quarterTurns) {
    double turned = direction + quarterTurns;
    if (turned == 5) turned = 1;
    if (turned == 6) turned = 2;
    if (turned == 0) turned = 4;
    return turned;
}

CorridorView ExamineView(GameState& s) {
    for (int slot = 0; slot < kSlotCount; ++slot)
        s.viewWalls(slot) = "0000";
    CorridorView view;
    Examine(s, kHere);
    view.nearFront = WalledAhead(s, kHere);
    if (!view.nearFront) {
        Examine(s, kAhead);
        view.farFront = WalledAhead(s, kAhead);
        view.farLeft = SideOf(s, WalledLeft(s, kAhead), kAheadLeft);
        view.farRight = SideOf(s, WalledRight(s, kAhead), kAheadRight);
    }
    view.nearLeft = SideOf(s, WalledLeft(s, kHere), kLeft);
    view.nearRight = SideOf(s, WalledRight(s, kHere), kRight);
    return view;
}

void DrawView(Game& g) {
    const CorridorView view = ExamineView(g.s);
    DrawCorridor(g, view);
    PbSetAccessibleText(g.rt, DescribeView(g, view, g.s.facing, HeroCellEvent(g.s)));
}

void RetellView(Game& g) {
    PbSetAccessibleText(g.rt, DescribeView(g, ExamineView(g.s), g.s.facing, HeroCellEvent(g.s)));
}

bool HeroCellWalled(GameState& s, double direction) {
    return Walled(s, kHere, direction);
}

void PrintNameAndPoints(Game& g) {
    GameState& s = g.s;
    PrintAt(g, 55, 1, {s.heroName});
    PrintPicture(g, 60, 5, "HP    ###/###", {s.heroStats(kHitPoints), s.maxHp});
    PrintPicture(g, 60, 6, "MP    ###/###", {s.heroStats(kMagicPoints), s.maxMp});
    PrintPicture(g, 60, 7, "TP    ###/###", {s.heroStats(kTechniquePoints), s.maxTp});
}

void PrintCompanionLines(Game& g) {
    GameState& s = g.s;
    if (s.companionName.empty()) return;
    PrintAt(g, 55, 12, {"仲間"_sj});
    PrintAt(g, 60, 13, {s.companionName});
}

void DrawStatusPanel(Game& g) {
    GameState& s = g.s;
    PrintNameAndPoints(g);
    PrintPicture(g, 60, 9, "EXP     #####", {s.heroStats(kExperience)});
    PrintPicture(g, 60, 3, "LV        ###", {s.heroLevel});
    PrintCompanionLines(g);
    PrintAt(g, 55, 21, {"移動（カーソルキー)"_sj});
    PrintAt(g, 55, 22, {"キャンプ (C)"_sj});
}

}  // namespace kestran::game
