// The corridor in words against the corridor in pixels: every combination of the walls the view
// reads, in every facing, drawn on the picture; the figures found in the pixels must be the ones
// the words name.
#include "game/dungeon/corridor_words.h"

#include "game/game_fixture.h"
#include "runtime/console/accessible_text.h"
#include "runtime/console/screen.h"

namespace kestran::game::testing {
namespace {

// A pixel that only one figure covers, for each figure.
struct Point {
    int x, y;
};
constexpr Point kNearFront{200, 75}, kFarFront{200, 140};
constexpr Point kNearLeftWall{40, 40}, kNearLeftOpening{40, 75}, kNearRightWall{360, 40}, kNearRightOpening{360, 75};
constexpr Point kFarLeftWall{107, 107}, kFarLeftOpening{107, 140}, kFarRightWall{292, 108}, kFarRightOpening{292, 140};

class CorridorWordsTest : public GameTest {
protected:
    bool Lit(Point p) const { return rt.console.picture.At(p.x, p.y) != 0; }

    std::string SideSeen(Point wall, Point opening) const {
        if (Lit(wall)) return "壁";
        return Lit(opening) ? "横道" : "通路";
    }

    // The sides as the words put them, from what the pixels show.
    static std::string Sides(const std::string& left, const std::string& right, const std::string& is) {
        if (left == right) return "両側" + is + left + "。";
        return "左" + is + left + "、右" + is + right + "。";
    }

    std::string WordsForThePixels() const {
        std::string words = Lit(kNearFront) ? "前は壁。" : Lit(kFarFront) ? "前は1歩先で壁。" : "前は2歩以上続く。";
        words += Sides(SideSeen(kNearLeftWall, kNearLeftOpening), SideSeen(kNearRightWall, kNearRightOpening), "は");
        if (!Lit(kNearFront)) {
            words += "1歩先は" +
                     Sides(SideSeen(kFarLeftWall, kFarLeftOpening), SideSeen(kFarRightWall, kFarRightOpening), "が");
        }
        return words;
    }

    // Floor 1 without a wall but those `bits` names around the hero at (5, 5): bits 0-2 the
    // hero's cell ahead, left, right; 3-5 the cell ahead likewise; 6-9 the cells left, right,
    // ahead-left and ahead-right, each ahead.
    void Build(int bits, int ahead) {
        constexpr int kDx[] = {0, -1, 0, 1, 0}, kDy[] = {0, 0, -1, 0, 1};
        const int left = int(TurnedDirection(ahead, -1)), right = int(TurnedDirection(ahead, 1));
        int walls[20][20] = {};
        const auto wall = [&](int bit, std::initializer_list<int> steps, int direction) {
            int x = 5, y = 5;
            for (int d : steps)
                x += kDx[d], y += kDy[d];
            if (bits >> bit & 1) walls[y][x - 1] |= 1 << (direction - 1);
        };
        wall(0, {}, ahead), wall(1, {}, left), wall(2, {}, right);
        wall(3, {ahead}, ahead), wall(4, {ahead}, left), wall(5, {ahead}, right);
        wall(6, {left}, ahead), wall(7, {right}, ahead), wall(8, {ahead, left}, ahead), wall(9, {ahead, right}, ahead);
        for (int y = 0; y < 20; ++y) {
            s.mapWalls(0, y).clear();
            for (int digit : walls[y])
                s.mapWalls(0, y) += "0123456789ABCDEF"[digit];
        }
        s.mapEvents(0, 5)[4] = '1';  // nothing to see underfoot
        s.dungeonFloor = 1;
        s.posX = 5;
        s.posY = 5;
        s.facing = float(ahead);
    }

    static std::string Heading(int facing) { return std::string(&"西北東南"[3 * (facing - 1)], 3) + "向き。"; }
};

TEST_F(CorridorWordsTest, EveryWallCombinationInEveryFacingIsSaidAsThePictureDrawsIt) {
    for (int bits = 0; bits < 1024; ++bits) {
        for (int facing = kWest; facing <= kSouth; ++facing) {
            Build(bits, facing);
            PbCls(rt);
            DrawView(g);
            const std::string& words = window_.accessibleTexts.back();
            const std::string seen = Heading(facing) + WordsForThePixels();
            ASSERT_EQ(words, seen) << "walls " << bits << " facing " << facing << "\n  words:  " << words
                                   << "\n  pixels: " << seen;
        }
    }
}

// The exploration screen hands its words to the window; CLS takes them away with the picture,
// once, and a CLS of the text rows leaves them.
TEST_F(CorridorWordsTest, TheWordsGoToTheWindowAndLeaveWithThePicture) {
    Build(0, kEast);
    DrawView(g);
    EXPECT_EQ(window_.accessibleTexts,
              std::vector<std::string>{"東向き。前は2歩以上続く。両側は通路。1歩先は両側が通路。"});
    PbCls(rt, 4);
    PbCls(rt);
    PbCls(rt);
    EXPECT_EQ(window_.accessibleTexts.size(), 2u);
    EXPECT_EQ(window_.accessibleTexts.back(), "");
}

}  // namespace
}  // namespace kestran::game::testing
