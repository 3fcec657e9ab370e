// The corridor drawn from the wall digits around the hero, pixel for pixel against the figures'
// segment lists, and the panel beside it.
#include "game/dungeon/corridor_view.h"

#include <vector>

#include "game/game_fixture.h"
#include "runtime/console/graphics.h"
#include "runtime/console/screen.h"

namespace kestran::game::testing {
namespace {

struct Line {
    int x1, y1, x2, y2;
};
using Figure = std::vector<Line>;

// The figures, transcribed apart from the game's own table.
const Figure kNearFront{{75, 75, 75, 325}, {75, 325, 325, 325}, {325, 325, 325, 75}, {325, 75, 75, 75}};
const Figure kNearLeft{{75, 75, 75, 325}, {75, 325, 5, 395}, {5, 5, 75, 75}};
const Figure kNearRight{{325, 75, 325, 325}, {325, 75, 395, 5}, {395, 395, 325, 325}};
const Figure kNearLeftOpening{{5, 325, 75, 325}, {75, 325, 75, 75}, {75, 75, 5, 75}};
const Figure kNearRightOpening{{325, 75, 325, 325}, {325, 325, 395, 325}, {395, 75, 325, 75}};
const Figure kFarFront{{140, 140, 140, 260}, {140, 260, 260, 260}, {260, 260, 260, 140}, {260, 140, 140, 140}};
const Figure kFarLeft{{75, 75, 75, 325}, {140, 140, 140, 260}, {75, 75, 140, 140}, {140, 260, 75, 325}};
const Figure kFarRight{{260, 140, 260, 260}, {325, 75, 325, 325}, {260, 140, 325, 75}, {260, 260, 325, 325}};
const Figure kFarLeftOpening{{75, 260, 140, 260}, {140, 260, 140, 140}, {140, 140, 75, 140}};
const Figure kFarRightOpening{{260, 140, 260, 260}, {260, 260, 325, 260}, {325, 140, 260, 140}};

class CorridorViewTest : public GameTest {
protected:
    void StandAt(double floor, double x, double y, double facing) {
        s.dungeonFloor = floor;
        s.posX = x;
        s.posY = y;
        s.facing = facing;
    }

    std::vector<uint32_t> Pixels() const {
        const Picture& p = rt.console.picture;
        return {p.Row(0), p.Row(0) + Picture::kWidth * Picture::kHeight};
    }

    // What DrawView puts on a cleared picture.
    std::vector<uint32_t> Drawn() {
        PbCls(rt);
        DrawView(g);
        return Pixels();
    }

    std::vector<uint32_t> Expected(std::initializer_list<const Figure*> figures) {
        PbCls(rt);
        for (const Figure* figure : figures) {
            for (const Line& l : *figure)
                PbLine(rt, l.x1, l.y1, l.x2, l.y2);
        }
        return Pixels();
    }

    std::string Walls(int slot) { return s.viewWalls(slot); }
};

TEST_F(CorridorViewTest, ADeadEndShowsTheNearFrameAndBothNearWallsOnly) {
    StandAt(1, 1, 19, kSouth);  // "D": walled west, east and south
    const auto drawn = Drawn();
    EXPECT_EQ(drawn, Expected({&kNearFront, &kNearLeft, &kNearRight}));
    EXPECT_EQ(s.viewCells(0), "D");
    EXPECT_EQ(Walls(0), "1011");
    for (int slot = 1; slot < 6; ++slot)
        EXPECT_EQ(Walls(slot), "0000") << "slot " << slot << " is behind the wall";
    EXPECT_TRUE(HeroCellWalled(s, kSouth));
    EXPECT_FALSE(HeroCellWalled(s, kNorth));
}

TEST_F(CorridorViewTest, AnOpenRoomDrawsNothing) {
    StandAt(1, 3, 1, kSouth);
    const auto drawn = Drawn();
    EXPECT_EQ(drawn, Expected({}));
    EXPECT_EQ(drawn, std::vector<uint32_t>(drawn.size(), 0));
    EXPECT_EQ(Walls(0), "0100");  // "2": the north wall, behind the hero
}

TEST_F(CorridorViewTest, ADeadEndOneCellAheadShowsTheFarFrameAndItsWalls) {
    StandAt(1, 1, 18, kSouth);
    EXPECT_EQ(Drawn(), Expected({&kFarFront, &kFarLeft, &kFarRight, &kNearLeftOpening, &kNearRight}));
    EXPECT_EQ(s.viewCells(1), "D");
    EXPECT_EQ(s.viewCells(2), "A");  // east of the hero: the opening's wall across
}

TEST_F(CorridorViewTest, SideOpeningsShowTheWallsAcrossTheNeighbouringCells) {
    StandAt(1, 17, 1, kNorth);
    EXPECT_EQ(Drawn(),
              Expected({&kFarFront, &kFarLeftOpening, &kFarRightOpening, &kNearLeftOpening, &kNearRightOpening}));
}

TEST_F(CorridorViewTest, EveryFacingTurnsTheSlotsWithIt) {
    StandAt(1, 7, 3, kWest);
    EXPECT_EQ(Drawn(), Expected({&kFarFront, &kFarLeftOpening, &kFarRightOpening, &kNearLeft, &kNearRightOpening}));
    StandAt(1, 14, 4, kEast);
    EXPECT_EQ(Drawn(), Expected({&kFarFront, &kFarLeftOpening, &kFarRightOpening, &kNearLeftOpening, &kNearRight}));
    // The hero's own flags follow the new facing on every redraw.
    StandAt(1, 1, 0, kEast);
    Drawn();
    EXPECT_FALSE(HeroCellWalled(s, s.facing));
    s.facing = kWest;
    Drawn();
    EXPECT_TRUE(HeroCellWalled(s, s.facing));
}

TEST_F(CorridorViewTest, TurningWrapsAroundTheFourDirections) {
    EXPECT_EQ(TurnedDirection(kSouth, 1), kWest);
    EXPECT_EQ(TurnedDirection(kWest, -1), kSouth);
    EXPECT_EQ(TurnedDirection(kSouth, 2), kNorth);
    EXPECT_EQ(TurnedDirection(kEast, 2), kWest);
    EXPECT_EQ(TurnedDirection(kNorth, -1), kWest);
}

TEST_F(CorridorViewTest, ThePanelShowsTheFiguresInTheirPictures) {
    s.heroName = "アキラ"_sj;
    s.heroStats(7) = 5;
    s.maxHp = 120;
    s.heroStats(8) = 0;
    s.maxMp = 7;
    s.heroStats(9) = 999;
    s.maxTp = 999;
    s.heroStats(10) = 12345;
    s.heroLevel = 12;
    PbCls(rt);
    DrawStatusPanel(g);
    const std::string pad(55, ' ');
    EXPECT_EQ(Row(1), pad + "アキラ");
    EXPECT_EQ(Row(3), pad + "     LV         12");
    EXPECT_EQ(Row(5), pad + "     HP      5/120");
    EXPECT_EQ(Row(6), pad + "     MP      0/  7");
    EXPECT_EQ(Row(7), pad + "     TP    999/999");
    EXPECT_EQ(Row(9), pad + "     EXP     12345");
    EXPECT_EQ(Row(12), "");
    EXPECT_EQ(Row(21), pad + "移動（カーソルキー)");
    EXPECT_EQ(Row(22), pad + "キャンプ (C)");
    s.companionName = "フィーナ"_sj;
    DrawStatusPanel(g);
    EXPECT_EQ(Row(12), pad + "仲間");
    EXPECT_EQ(Row(13), pad + "     フィーナ");
}

}  // namespace
}  // namespace kestran::game::testing
