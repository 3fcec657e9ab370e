#include "runtime/console/graphics.h"

#include <gtest/gtest.h>

#include "runtime/console/console_errors.h"
#include "runtime/console/console_fixture.h"
#include "runtime/console/picture.h"
#include "runtime/console/screen.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran::testing {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

class GraphicsTest : public ConsoleTest {
protected:
    int CountNonBlack() const {
        int n = 0;
        for (int y = 0; y < Picture::kHeight; ++y) {
            for (int x = 0; x < Picture::kWidth; ++x)
                n += rt.console.picture.At(x, y) != 0 ? 1 : 0;
        }
        return n;
    }
    uint32_t At(int x, int y) const { return rt.console.picture.At(x, y); }
    // A line with every argument but the ones a test varies at the game's values.
    void Line(double x1, double y1, double x2, double y2, int function, int colour, int box, int fill, int style,
              int mask) {
        PbLine(rt, 0, 0, x1, y1, 0, x2, y2, function, colour, box, fill, style, mask);
    }
};

// A fill touches only the pixels drawn since the one before (up to a limit): each of these must
// still leave the whole picture in its colour.
TEST(PictureFillTest, EveryFillLeavesThePictureInItsColourWhateverWasDrawnBefore) {
    Picture picture;
    const auto only = [&](uint32_t colour) {
        for (int y = 0; y < Picture::kHeight; ++y) {
            for (int x = 0; x < Picture::kWidth; ++x) {
                if (picture.At(x, y) != colour) return false;
            }
        }
        return true;
    };
    const Pen pen;
    picture.DrawLine({0, 10}, {639, 300}, pen);
    picture.Fill(0);
    EXPECT_TRUE(only(0));
    picture.Fill(0x123456);
    EXPECT_TRUE(only(0x123456));
    picture.DrawLine({5, 431}, {5, 431}, pen);
    picture.DrawLine({0, 0}, {3, 0}, pen);
    picture.Fill(0x123456);
    EXPECT_TRUE(only(0x123456));
    picture.DrawLine({-50, 200}, {700, 200}, pen);  // clipped, but its row is drawn on
    picture.Fill(0);
    EXPECT_TRUE(only(0));
    picture.DrawLine({-50, -5}, {-10, -1}, pen);  // wholly outside
    picture.Fill(0);
    EXPECT_TRUE(only(0));
    const uint32_t red = 0xFF0000;
    picture.DrawBox({0, 0}, {639, 431}, pen, &red);  // more pixels than the fill keeps track of
    picture.Fill(0);
    EXPECT_TRUE(only(0));
}

TEST_F(GraphicsTest, AVerticalLineSetsBothEndPixels) {
    PbLine(rt, 75, 75, 75, 325);
    EXPECT_EQ(CountNonBlack(), 251);
    for (int y = 75; y <= 325; ++y)
        ASSERT_EQ(At(75, y), kWhite) << y;
}

TEST_F(GraphicsTest, ALineWithEqualEndsSetsOnePixel) {
    PbLine(rt, 10, 20, 10, 20);
    EXPECT_EQ(CountNonBlack(), 1);
    EXPECT_EQ(At(10, 20), kWhite);
}

TEST_F(GraphicsTest, LinesInEveryDirectionCoverTheirEnds) {
    PbLine(rt, 10, 5, 0, 5);  // leftwards
    EXPECT_EQ(CountNonBlack(), 11);
    PbCls(rt);
    PbLine(rt, 0, 0, 10, 10);
    EXPECT_EQ(CountNonBlack(), 11);
    EXPECT_EQ(At(10, 10), kWhite);
    PbCls(rt);
    PbLine(rt, 20, 0, 10, 5);  // shallow, up-left
    EXPECT_EQ(CountNonBlack(), 11);
    EXPECT_EQ(At(20, 0), kWhite);
    EXPECT_EQ(At(10, 5), kWhite);
}

TEST_F(GraphicsTest, LinesAreClippedAtThePicturesEdges) {
    PbLine(rt, 100, 400, 100, 500);
    EXPECT_EQ(CountNonBlack(), 32);  // rows 400 to 431
    PbCls(rt);
    PbLine(rt, -1000000, 200, 1000000, 200);
    EXPECT_EQ(CountNonBlack(), 640);
    PbCls(rt);
    PbLine(rt, 700, 0, 800, 100);
    EXPECT_EQ(CountNonBlack(), 0);
}

TEST_F(GraphicsTest, CoordinatesBeyondTheDevicesRangeAreAnOverflow) {
    EXPECT_PB_ERROR(PbLine(rt, 0, 0, 1e9, 0), 6, ErrorSite(console_site::kLine, 4));
    EXPECT_PB_ERROR(PbLine(rt, 0, 0, 1e12, 0), 6, 0xE401);
}

TEST_F(GraphicsTest, TheEndBecomesTheLastPointForRelativeAndImplicitStarts) {
    PbLine(rt, 10, 10, 20, 10);
    EXPECT_EQ(rt.console.text.lastX, 20.0f);
    // Mask bit 0 clear: the start is the last point.
    PbLine(rt, 0, 0, 999, 999, 0, 20, 30, kNotGiven, 0, 0, 0, kNotGiven, 2);
    EXPECT_EQ(At(20, 25), kWhite);
    // Both relative: start = last + (5, 0) = (25, 30); end = start + (0, 5).
    PbLine(rt, 0, 1, 5, 0, 1, 0, 5, kNotGiven, 0, 0, 0, kNotGiven, 3);
    EXPECT_EQ(At(25, 30), kWhite);
    EXPECT_EQ(At(25, 35), kWhite);
    EXPECT_EQ(rt.console.text.lastY, 35.0f);
}

TEST_F(GraphicsTest, ColourCodesAreCheckedOnlyWhenGiven) {
    Line(0, 0, 5, 0, kNotGiven, 12, 0, 0, kNotGiven, 3 | 4);
    EXPECT_EQ(At(3, 0), 0x808000u);  // the graphics palette's 12
    EXPECT_PB_ERROR(Line(0, 0, 5, 0, kNotGiven, 16, 0, 0, kNotGiven, 3 | 4), 5, ErrorSite(console_site::kLine, 2));
    Line(0, 1, 5, 1, kNotGiven, 16, 0, 0, kNotGiven, 3);  // not given: the default pen
    EXPECT_EQ(At(3, 1), kWhite);
    EXPECT_PB_ERROR(Line(0, 0, 5, 5, kNotGiven, 0, 2, 99, kNotGiven, 3 | 8), 5, ErrorSite(console_site::kLine, 3));
}

TEST_F(GraphicsTest, BoxesIncludeBothCornersAndFilledBoxesTheirInside) {
    Line(10, 10, 20, 15, kNotGiven, 0, 1, 0, kNotGiven, 3);
    EXPECT_EQ(CountNonBlack(), 2 * 11 + 2 * 4);
    EXPECT_EQ(At(20, 15), kWhite);
    EXPECT_EQ(At(15, 12), 0u);
    PbCls(rt);
    Line(20, 15, 10, 10, kNotGiven, 9, 2, 4, kNotGiven, 3 | 4 | 8);
    EXPECT_EQ(At(10, 10), 0x00FF00u);  // outline in colour 9
    EXPECT_EQ(At(15, 12), 0x800000u);  // inside in fill colour 4
    EXPECT_EQ(CountNonBlack(), 11 * 6);
}

TEST_F(GraphicsTest, ExclusiveOrTwiceLeavesNothingBehind) {
    for (int pass = 0; pass < 2; ++pass) {
        Line(5, 5, 60, 30, 4, 0, 0, 0, kNotGiven, 3);
        Line(100, 100, 130, 120, 4, 0, 2, 0, kNotGiven, 3);
        Line(200, 50, 200, 50, 4, 0, 1, 0, kNotGiven, 3);
    }
    EXPECT_EQ(CountNonBlack(), 0);
}

TEST_F(GraphicsTest, FunctionsResetAndInvert) {
    PbLine(rt, 0, 0, 9, 0);
    Line(0, 0, 4, 0, 1, 0, 0, 0, kNotGiven, 3);  // reset: background colour
    EXPECT_EQ(CountNonBlack(), 5);
    Line(0, 1, 9, 1, 5, 0, 0, 0, kNotGiven, 3);  // invert
    EXPECT_EQ(At(0, 1), kWhite);
    Line(0, 1, 4, 1, 5, 0, 0, 0, kNotGiven, 3);
    EXPECT_EQ(At(0, 1), 0u);
    EXPECT_EQ(At(5, 1), kWhite);
}

TEST_F(GraphicsTest, DashedLinesFollowTheirPatternAndStyle5DrawsNothing) {
    Line(0, 0, 48, 0, kNotGiven, 0, 0, 0, 1, 3);
    EXPECT_EQ(CountNonBlack(), 18 + 18 + 1);
    EXPECT_EQ(At(17, 0), kWhite);
    EXPECT_EQ(At(18, 0), 0u);
    PbCls(rt);
    Line(0, 0, 48, 0, kNotGiven, 0, 0, 0, 5, 3);
    EXPECT_EQ(CountNonBlack(), 0);
}

TEST_F(GraphicsTest, ClsMode0ClearsTheLinesButKeepsTheLastPoint) {
    PbLine(rt, 1, 2, 3, 4);
    PbCls(rt);
    EXPECT_EQ(CountNonBlack(), 0);
    EXPECT_EQ(rt.console.text.lastX, 3.0f);
    EXPECT_EQ(rt.console.text.lastY, 4.0f);
}

TEST_F(GraphicsTest, TheOptionThatRefusesWindowGraphics) {
    rt.frame.options.refuseWindowGraphics = 1;
    EXPECT_PB_ERROR(PbLine(rt, 0, 0, 1, 1), 90, ErrorSite(console_site::kLine, 5));
    EXPECT_PB_ERROR(PbCls(rt, 5), 90, ErrorSite(console_site::kCls, 3));
    PbCls(rt);  // mode 0 clears the picture all the same
}

TEST_F(GraphicsTest, OnlyTheMainWindowDraws) {
    EXPECT_PB_ERROR(PbLine(rt, 1, 0, 0, 0, 0, 1, 1, kNotGiven, 0, 0, 0, kNotGiven, 3), 1000,
                    ErrorSite(console_site::kLine, 1));
    platform.window = nullptr;
    EXPECT_PB_ERROR(PbLine(rt, 0, 0, 1, 1), 1000, ErrorSite(console_site::kLine, 1));
}

}  // namespace
}  // namespace kestran::testing
