#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/state/start_up.h"

namespace kestran::game {
namespace {

constexpr int kWest = 1, kNorth = 2, kEast = 4, kSouth = 8;

using Cell = std::pair<int, int>;  // (column 1..20, row 0..19)
using Cells = std::vector<Cell>;

class FloorMapsTest : public ::testing::Test {
protected:
    FloorMapsTest() { InitializeGameState(s); }

    int Wall(int floor, int x, int y) { return std::stoi(s.mapWalls(floor - 1, y).substr(x - 1, 1), nullptr, 16); }
    char Event(int floor, int x, int y) { return s.mapEvents(floor - 1, y)[static_cast<std::size_t>(x - 1)]; }

    Cells CellsOf(int floor, char event) {
        Cells out;
        for (int x = 1; x <= 20; ++x) {
            for (int y = 0; y < 20; ++y) {
                if (Event(floor, x, y) == event) out.emplace_back(x, y);
            }
        }
        return out;  // in the order of Sorted
    }

    GameState s;
};

TEST_F(FloorMapsTest, EveryRowHasTwentyCharactersOfItsAlphabet) {
    for (int f = 0; f < 6; ++f) {
        for (int y = 0; y < 20; ++y) {
            const std::string& walls = s.mapWalls(f, y);
            const std::string& events = s.mapEvents(f, y);
            EXPECT_EQ(walls.size(), 20u) << "floor " << f + 1 << " row " << y;
            EXPECT_EQ(events.size(), 20u) << "floor " << f + 1 << " row " << y;
            EXPECT_EQ(walls.find_first_not_of("0123456789ABCDEF"), std::string::npos) << walls;
            EXPECT_EQ(events.find_first_not_of("013UDTEABCFMIK"), std::string::npos) << events;
        }
    }
}

TEST_F(FloorMapsTest, SharedWallsAgreeAndTheOuterEdgeIsClosed) {
    for (int f = 1; f <= 6; ++f) {
        for (int y = 0; y < 20; ++y) {
            for (int x = 1; x <= 20; ++x) {
                SCOPED_TRACE(::testing::Message() << "floor " << f << " cell (" << x << "," << y << ")");
                const int w = Wall(f, x, y);
                EXPECT_TRUE(x != 1 || (w & kWest));
                EXPECT_TRUE(x != 20 || (w & kEast));
                EXPECT_TRUE(y != 0 || (w & kNorth));
                EXPECT_TRUE(y != 19 || (w & kSouth));
                // The east side of this cell is the west side of the next one; south is north.
                EXPECT_TRUE(x == 20 || ((w & kEast) != 0) == ((Wall(f, x + 1, y) & kWest) != 0));
                EXPECT_TRUE(y == 19 || ((w & kSouth) != 0) == ((Wall(f, x, y + 1) & kNorth) != 0));
            }
        }
    }
}

TEST_F(FloorMapsTest, StaircasesMeetTheirCounterparts) {
    EXPECT_EQ(CellsOf(1, 'U'), (Cells{{1, 0}}));  // the way out to town
    for (int f = 1; f < 6; ++f) {
        EXPECT_FALSE(CellsOf(f, 'D').empty()) << "floor " << f;
        EXPECT_EQ(CellsOf(f, 'D'), CellsOf(f + 1, 'U')) << "floors " << f << " and " << f + 1;
    }
    EXPECT_TRUE(CellsOf(6, 'D').empty());
}

TEST_F(FloorMapsTest, ElevatorsOfTheFirstThreeFloorsCoincide) {
    EXPECT_EQ(CellsOf(1, 'E').size(), 1u);
    EXPECT_EQ(CellsOf(2, 'E'), CellsOf(1, 'E'));
    EXPECT_EQ(CellsOf(3, 'E'), CellsOf(1, 'E'));
    for (int f = 4; f <= 6; ++f)
        EXPECT_TRUE(CellsOf(f, 'E').empty()) << "floor " << f;
}

// clang-format off
// The floor plans' own summary, written down apart from the rows: features, chests, zones.
const std::map<std::pair<int, char>, Cells> kFeatures = {
    {{1, 'U'}, {{1, 0}}}, {{1, 'D'}, {{19, 5}}}, {{1, 'E'}, {{2, 11}}}, {{1, 'I'}, {{16, 7}}},
    {{1, 'A'}, {{19, 7}}}, {{1, 'B'}, {{1, 9}}}, {{1, 'C'}, {{17, 10}}},
    {{2, 'U'}, {{19, 5}}}, {{2, 'D'}, {{13, 13}}}, {{2, 'E'}, {{2, 11}}}, {{2, 'I'}, {{4, 11}}},
    {{2, 'A'}, {{6, 11}}}, {{2, 'B'}, {{1, 9}}}, {{2, 'C'}, {{3, 9}}},
    {{3, 'U'}, {{13, 13}}}, {{3, 'D'}, {{3, 2}}}, {{3, 'E'}, {{2, 11}}}, {{3, 'I'}, {{9, 1}}},
    {{3, 'A'}, {{6, 4}}}, {{3, 'B'}, {{1, 9}, {1, 13}}}, {{3, 'C'}, {{17, 19}}},
    {{4, 'U'}, {{3, 2}}}, {{4, 'D'}, {{8, 1}, {16, 12}}}, {{4, 'I'}, {{15, 15}}}, {{4, 'F'}, {{4, 7}}},
    {{5, 'U'}, {{8, 1}, {16, 12}}}, {{5, 'D'}, {{10, 0}}},
    {{6, 'U'}, {{10, 0}}}, {{6, 'M'}, {{9, 17}}}, {{6, 'K'}, {{1, 17}}},
};

const Cells kChests[6] = {
    {{8, 1}, {4, 3}, {13, 6}, {13, 7}, {6, 9}, {13, 17}, {16, 17}, {13, 18}, {16, 18}, {1, 19}},
    {{4, 0}, {5, 0}, {4, 1}, {5, 1}, {16, 1}, {19, 1}, {15, 5}, {17, 7}, {13, 9}, {8, 13}, {3, 15}, {4, 15},
     {16, 15}, {20, 15}, {3, 17}, {4, 17}},
    {{13, 1}, {14, 1}, {13, 2}, {14, 2}, {4, 6}, {8, 6}, {13, 7}, {3, 8}, {6, 12}, {6, 14}, {9, 17}, {10, 17},
     {9, 18}, {10, 18}, {13, 18}},
    {{17, 2}, {18, 2}, {17, 3}, {18, 3}, {12, 9}, {19, 9}, {7, 12}, {7, 13}, {4, 14}, {4, 15}, {12, 18}, {19, 18}},
    {{14, 0}, {19, 1}, {3, 2}, {4, 2}, {3, 3}, {4, 3}, {14, 6}, {18, 7}, {9, 11}, {1, 13}, {15, 14}, {12, 15},
     {2, 16}, {9, 18}, {19, 19}},
    {{1, 0}, {9, 12}, {10, 12}, {9, 13}, {10, 13}, {20, 13}, {18, 17}, {19, 17}, {18, 18}, {19, 18}},
};

// Zones as rectangles: floor, event, rows first..last, columns first..last. Other cells are "1".
struct Zone { int floor; char event; int rowFirst, rowLast, columnFirst, columnLast; };

const std::vector<Zone> kZones = {
    {1, '3', 11, 16, 9, 20}, {1, '3', 19, 19, 9, 20}, {1, '3', 10, 10, 9, 16}, {1, '3', 10, 10, 18, 20},
    {1, '3', 17, 18, 9, 12}, {1, '3', 17, 18, 14, 15}, {1, '3', 17, 18, 17, 20},
    {1, '0', 6, 6, 16, 19}, {1, '0', 7, 7, 17, 18}, {1, '0', 8, 8, 16, 19},
    {2, '3', 3, 8, 3, 9}, {2, '3', 9, 9, 4, 9},
    {2, '0', 10, 10, 4, 6}, {2, '0', 11, 11, 5, 5}, {2, '0', 12, 12, 4, 6},
    {3, '3', 0, 0, 11, 20}, {3, '3', 3, 3, 11, 20}, {3, '3', 1, 2, 11, 12}, {3, '3', 1, 2, 15, 20},
    {3, '3', 4, 18, 17, 20}, {3, '3', 19, 19, 18, 20},
    {3, '0', 1, 1, 6, 8}, {3, '0', 2, 3, 6, 9}, {3, '0', 4, 4, 7, 9},
    {4, '3', 1, 1, 10, 19}, {4, '3', 2, 2, 10, 16}, {4, '3', 2, 2, 19, 19}, {4, '3', 3, 3, 7, 16},
    {4, '3', 3, 3, 19, 19}, {4, '3', 4, 6, 7, 19},
    {4, '0', 12, 14, 14, 15}, {4, '0', 15, 15, 14, 14},
    {5, '3', 0, 0, 1, 6}, {5, '3', 1, 1, 1, 6}, {5, '3', 1, 1, 10, 10}, {5, '3', 2, 2, 1, 2},
    {5, '3', 2, 2, 5, 6}, {5, '3', 2, 2, 10, 10}, {5, '3', 3, 3, 1, 2}, {5, '3', 3, 3, 5, 10},
    {5, '3', 4, 9, 1, 10},
};
// clang-format on

Cells Sorted(Cells cells) {
    std::sort(cells.begin(), cells.end());
    return cells;
}

Cells ZoneCells(int floor, char event) {
    Cells out;
    for (const Zone& z : kZones) {
        if (z.floor != floor || z.event != event) continue;
        for (int y = z.rowFirst; y <= z.rowLast; ++y) {
            for (int x = z.columnFirst; x <= z.columnLast; ++x)
                out.emplace_back(x, y);
        }
    }
    return Sorted(out);
}

TEST_F(FloorMapsTest, RowsAgreeWithTheFeatureChestAndZoneSummaries) {
    for (int f = 1; f <= 6; ++f) {
        SCOPED_TRACE(::testing::Message() << "floor " << f);
        for (char event : std::string("UDEIABCFMK")) {
            auto it = kFeatures.find({f, event});
            EXPECT_EQ(CellsOf(f, event), it == kFeatures.end() ? Cells{} : Sorted(it->second)) << event;
        }
        EXPECT_EQ(CellsOf(f, 'T'), Sorted(kChests[f - 1]));
        EXPECT_EQ(CellsOf(f, '3'), ZoneCells(f, '3'));
        EXPECT_EQ(CellsOf(f, '0'), ZoneCells(f, '0'));
    }
}

}  // namespace
}  // namespace kestran::game
