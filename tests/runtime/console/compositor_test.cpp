#include "runtime/console/compositor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/font.h"
#include "runtime/console/console_fixture.h"
#include "runtime/console/graphics.h"
#include "runtime/console/screen.h"

namespace kestran::testing {
namespace {

using namespace kestran::literals;

constexpr uint32_t kWhite = 0xFFFFFF;

// "A" as Unifont draws it, a 16-wide "あ" that is a full block, and an 8-wide "ア" with only its
// first column set (its position shows the centring).
constexpr std::string_view kHex =
    "0041:0000000018242442427E424242420000\n"
    "3042:FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n"
    "30A2:80808080808080808080808080808080\n";

class CompositorTest : public ConsoleTest {
protected:
    CompositorTest() {
        font.ParseHex(kHex);
        platform.font = &font;
    }
    const platform::FrameView& Compose() {
        rt.console.Present(rt);
        return window.lastFrame;
    }
    uint32_t Pixel(int x, int y) const { return window.lastFrame.pixels[size_t(y) * 640 + size_t(x)]; }
    int CountInk(int x0, int y0, int w, int h, uint32_t colour) const {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x)
                n += Pixel(x, y) == colour ? 1 : 0;
        }
        return n;
    }

    platform::Font font;
};

TEST_F(CompositorTest, AGlyphSitsInItsCellWithABlankRowAboveAndBelow) {
    PbLocate(rt, 2, 1);
    PbPrintString(rt, "A", PbSep::Semicolon);
    Compose();
    const int x0 = 16;
    const int y0 = 18;
    // Glyph row 5 ("24" = ..1..1..) is pixel row y0 + 1 + 5.
    EXPECT_EQ(Pixel(x0 + 2, y0 + 6), kWhite);
    EXPECT_EQ(Pixel(x0 + 5, y0 + 6), kWhite);
    EXPECT_EQ(Pixel(x0 + 3, y0 + 6), 0u);
    EXPECT_EQ(CountInk(x0, y0, 8, 1, kWhite), 0);
    EXPECT_EQ(CountInk(x0, y0 + 17, 8, 1, kWhite), 0);
    EXPECT_EQ(CountInk(0, 0, 640, 432, kWhite), 9 * 2 + 6);
}

TEST_F(CompositorTest, DoubleByteCellsAre16WideAndNarrowGlyphsAreCentred) {
    PbPrintString(rt, "あア"_sj, PbSep::Semicolon);
    Compose();
    EXPECT_EQ(CountInk(0, 0, 16, 18, kWhite), 16 * 16);
    EXPECT_EQ(CountInk(16, 0, 16, 18, kWhite), 16);
    for (int y = 1; y <= 16; ++y)
        ASSERT_EQ(Pixel(16 + 4, y), kWhite) << y;
}

TEST_F(CompositorTest, NormalCellsShowThePictureAndReverseCellsCoverIt) {
    PbLine(rt, 0, 0, 639, 0);    // through row 0 of every cell of text row 0
    PbLine(rt, 0, 23, 639, 23);  // through the glyph rows of text row 1
    PbLocate(rt, 0, 1);
    PbPrintString(rt, "A", PbSep::Semicolon);
    rt.console.text.textColour = 12;  // codes of 8 and more are drawn reverse
    PbPrintString(rt, " ", PbSep::Semicolon);
    Compose();
    EXPECT_EQ(CountInk(0, 0, 640, 1, kWhite), 640);
    EXPECT_EQ(Pixel(0, 23), kWhite);  // between the strokes of "A"
    const uint32_t paper = kForegroundPalette[12];
    EXPECT_EQ(CountInk(8, 18, 8, 18, paper), 8 * 18);
    EXPECT_EQ(Pixel(9, 23), paper);
}

TEST_F(CompositorTest, OnlyChangedRowsAreComposedAndReported) {
    Compose();
    const auto& first = Compose();
    EXPECT_EQ(first.dirtyTop, first.dirtyBottom);
    PbLocate(rt, 0, 5);
    PbPrintString(rt, "A", PbSep::Semicolon);
    const auto& frame = Compose();
    EXPECT_EQ(frame.dirtyTop, 5 * 18);
    EXPECT_EQ(frame.dirtyBottom, 6 * 18);
    PbLine(rt, 0, 40, 0, 60);
    const auto& lines = Compose();
    EXPECT_EQ(lines.dirtyTop, 2 * 18);
    EXPECT_EQ(lines.dirtyBottom, 4 * 18);
}

TEST_F(CompositorTest, AWindowWantingNoPixelsGetsTheTextAndLaterTheWholePicture) {
    window.wantsPixels = false;
    PbLine(rt, 0, 40, 639, 40);
    PbLocate(rt, 0, 5);
    PbPrintString(rt, "A", PbSep::Semicolon);
    const auto& text = Compose();
    EXPECT_EQ(text.pixels, nullptr);
    ASSERT_NE(text.textRows, nullptr);
    EXPECT_EQ((*text.textRows)[5], "A");
    window.wantsPixels = true;
    const auto& whole = Compose();
    ASSERT_NE(whole.pixels, nullptr);
    EXPECT_EQ(whole.dirtyTop, 0);
    EXPECT_EQ(whole.dirtyBottom, 432);
    EXPECT_EQ(CountInk(0, 40, 640, 1, kWhite), 640);
    EXPECT_EQ(CountInk(0, 5 * 18, 8, 18, kWhite), 9 * 2 + 6);
}

TEST_F(CompositorTest, AWindowTakingCanvasBytesGetsTheSameFrameInThem) {
    PbLine(rt, 0, 40, 639, 40);
    PbLocate(rt, 0, 5);
    rt.console.text.textColour = 12;
    PbPrintString(rt, "A", PbSep::Semicolon);
    const std::vector<uint32_t> xrgb(Compose().pixels, Compose().pixels + 640 * 432);
    window.layout = platform::PixelLayout::Rgba;
    const auto& frame = Compose();  // nothing changed, yet all of it again in the new layout
    EXPECT_EQ(frame.layout, platform::PixelLayout::Rgba);
    EXPECT_EQ(frame.dirtyTop, 0);
    EXPECT_EQ(frame.dirtyBottom, 432);
    const auto* bytes = reinterpret_cast<const uint8_t*>(frame.pixels);
    for (size_t i = 0; i < xrgb.size(); ++i) {
        const uint8_t rgba[4] = {uint8_t(xrgb[i] >> 16), uint8_t(xrgb[i] >> 8), uint8_t(xrgb[i]), 0xFF};
        ASSERT_EQ(std::memcmp(bytes + 4 * i, rgba, 4), 0) << "pixel " << i;
    }
}

TEST_F(CompositorTest, TextRowsAreUtf8WithoutTrailingBlanks) {
    PbLocate(rt, 3, 0);
    PbPrintString(rt, "ソ表 x   "_sj, PbSep::Semicolon);
    PbLocate(rt, 0, 23);
    PbPrintString(rt, std::string("\x01z", 2), PbSep::Semicolon);
    const auto& frame = Compose();
    ASSERT_NE(frame.textRows, nullptr);
    EXPECT_EQ((*frame.textRows)[0], "   ソ表 x");
    EXPECT_EQ((*frame.textRows)[1], "");
    EXPECT_EQ((*frame.textRows)[23], " z");
}

TEST_F(CompositorTest, HalfOfAnOverwrittenDoubleByteCharacterReadsAsABlank) {
    PbPrintString(rt, "あい"_sj, PbSep::Semicolon);
    PbLocate(rt, 1, 0);
    PbPrintString(rt, "b", PbSep::Semicolon);
    const auto& frame = Compose();
    EXPECT_EQ((*frame.textRows)[0], " bい");
}

TEST_F(CompositorTest, WithoutAFontTheTextStaysInTheRowsOnly) {
    platform.font = nullptr;
    PbPrintString(rt, "A", PbSep::Semicolon);
    const auto& frame = Compose();
    EXPECT_EQ((*frame.textRows)[0], "A");
    EXPECT_EQ(CountInk(0, 0, 640, 432, kWhite), 0);
}

TEST_F(CompositorTest, TextCellsPlaceCharactersByByteCountWithTheirColours) {
    platform.font = nullptr;  // the cells do not depend on glyphs
    PbPrintString(rt, "Aあ"_sj, PbSep::Semicolon);
    rt.console.text.textColour = 12;
    PbPrintString(rt, "B", PbSep::Semicolon);
    const auto& frame = Compose();
    ASSERT_NE(frame.textCells, nullptr);
    const auto& row = (*frame.textCells)[0];
    EXPECT_EQ(row[0].ch, uint32_t('A'));
    EXPECT_EQ(row[0].ink, kWhite);
    EXPECT_FALSE(row[0].opaque);
    EXPECT_EQ(row[1].ch, 0x3042u);
    EXPECT_EQ(row[2].ch, 0u);  // the second half of "あ"
    EXPECT_EQ(row[2].ink, kWhite);
    EXPECT_EQ(row[3].ch, uint32_t('B'));
    EXPECT_TRUE(row[3].opaque);
    EXPECT_EQ(row[3].paper, kForegroundPalette[12]);
    EXPECT_EQ(row[3].ink, kBackgroundPalette[0]);
    EXPECT_EQ(row[4].ch, uint32_t(' '));
    EXPECT_EQ(frame.background, kBackgroundPalette[0]);
}

// The glyphs a font must keep: the characters of the code page and the replacement, no others.
TEST(ScreenDrawsCodepointTest, TheCodePageAndTheReplacementOnly) {
    for (uint32_t cp : {uint32_t(' '), uint32_t('A'), 0xFF71u, 0x3042u, 0x6BD2u, 0x2500u, 0xFFFDu})
        EXPECT_TRUE(ScreenDrawsCodepoint(cp)) << std::hex << cp;
    for (uint32_t cp : {0xAC00u, 0x1416u, 0x1F600u, 0x110000u})
        EXPECT_FALSE(ScreenDrawsCodepoint(cp)) << std::hex << cp;
}

TEST(CellColourTest, TheStartStateIsWhiteOnTransparentAndLowCodesAreTheBrightHalf) {
    const uint32_t expected[8] = {0x000000, 0x0000FF, 0xFF0000, 0xFF00FF, 0x00FF00, 0x00FFFF, 0xFFFF00, 0xFFFFFF};
    for (int k = 0; k < 8; ++k) {
        CellColours c;
        ASSERT_TRUE(ResolveCellColours(k, 4, 0, c));
        EXPECT_EQ(c.ink, expected[k]) << k;
        EXPECT_FALSE(c.opaque);
    }
    CellColours dim;
    ResolveCellColours(7, 0, 0, dim);
    EXPECT_EQ(dim.ink, 0xC0C0C0u);
}

TEST(CellColourTest, ReverseCellsAndHighCodes) {
    CellColours c;
    ResolveCellColours(2, 5, 3, c);  // reverse, bright red paper, background code 3 ink
    EXPECT_TRUE(c.opaque);
    EXPECT_EQ(c.paper, 0xFF0000u);
    EXPECT_EQ(c.ink, 0x0000FFu);
    ResolveCellColours(10, 0, 0, c);  // code 10 without the bright attribute: paper index 2
    EXPECT_TRUE(c.opaque);
    EXPECT_EQ(c.paper, 0x800000u);
    ResolveCellColours(10, 4 | 0x80, 0, c);  // the flag bit is ignored; index 10
    EXPECT_EQ(c.paper, 0xFF0000u);
    CellColours kept{1, 2, true};
    EXPECT_FALSE(ResolveCellColours(3, 2, 0, kept));
    EXPECT_EQ(kept.ink, 1u);
}

}  // namespace
}  // namespace kestran::testing
