// The page's font asset: packed glyphs unpack to the same glyphs, a damaged asset is refused
// whole, and the asset of the installed Unifont draws every CP932 character as the program does.
#include "platform/web/font_pack.h"

#include <gtest/gtest.h>

#include <set>

#include "runtime/values/cp932.h"

namespace kestran::platform::web {
namespace {

Glyph MakeGlyph(uint8_t width, uint16_t seed) {
    Glyph g;
    g.width = width;
    for (size_t r = 0; r < g.rows.size(); ++r)
        g.rows[r] = uint16_t((seed * 31 + r * 977) & (width == 8 ? 0xFF00 : 0xFFFF));
    return g;
}

void ExpectSameGlyph(const Font& font, uint32_t cp, const Glyph& expected) {
    const Glyph* g = font.Find(cp);
    ASSERT_NE(g, nullptr) << std::hex << cp;
    EXPECT_EQ(g->width, expected.width) << std::hex << cp;
    EXPECT_EQ(g->rows, expected.rows) << std::hex << cp;
}

class FontPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        source.Add('A', MakeGlyph(8, 1));
        source.Add(0x3042, MakeGlyph(16, 2));
        source.Add(0xFFFD, MakeGlyph(16, 3));
        source.Add('B', MakeGlyph(8, 4));  // not asked for
    }
    Font source;
};

TEST_F(FontPackTest, TheGlyphsAskedForComeBackAsTheyWere) {
    // Unsorted, repeated, missing from the font, beyond the Basic Multilingual Plane.
    const std::string packed = PackFont(source, {0xFFFD, 'A', 0x3042, 'A', 'Z', 0x1F600});
    Font font;
    std::string error;
    ASSERT_TRUE(UnpackFont(packed, font, error)) << error;
    EXPECT_EQ(font.size(), 3u);
    ExpectSameGlyph(font, 'A', *source.Find('A'));
    ExpectSameGlyph(font, 0x3042, *source.Find(0x3042));
    ExpectSameGlyph(font, 0xFFFD, *source.Find(0xFFFD));
    EXPECT_EQ(font.Find('B'), nullptr);
    EXPECT_EQ(font.Find('Z'), nullptr);
    // Header, 3 code points, 1 byte of widths, one narrow and two wide bitmaps.
    EXPECT_EQ(packed.size(), 8u + 6u + 1u + 16u + 2u * 32u);
}

TEST_F(FontPackTest, ADamagedAssetIsRefusedAndLeavesTheFontAsItWas) {
    const std::string packed = PackFont(source, {'A', 0x3042});
    std::string repeated = packed;  // the second code point a step of 0 after the first
    repeated[9] = repeated[11] = '\0';
    std::string beyondPlane = packed;  // high bytes of the steps: 0xFF41, then past 0xFFFF
    beyondPlane[10] = '\xFF';
    std::string hugeCount = packed;
    hugeCount[6] = '\x02';  // 0x20002 glyphs
    for (const std::string& damaged :
         {std::string(), std::string("KFN2"), "KFN1" + packed.substr(4), packed.substr(0, packed.size() - 1),
          packed + '\0', repeated, beyondPlane, hugeCount}) {
        Font font;
        font.Add('Q', MakeGlyph(8, 9));
        std::string error;
        EXPECT_FALSE(UnpackFont(damaged, font, error)) << damaged.size();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(font.size(), 1u);
        EXPECT_EQ(font.Find('A'), nullptr);
    }
}

TEST_F(FontPackTest, AnEmptyAssetIsNoGlyphs) {
    Font font;
    std::string error;
    EXPECT_TRUE(UnpackFont(PackFont(source, {}), font, error));
    EXPECT_EQ(font.size(), 0u);
}

// The asset the page is built with: every glyph the screen can ask for is the installed font's.
TEST(FontPackInstalledTest, TheCp932RepertoireOfTheInstalledFontSurvivesPacking) {
    Font installed;
    std::string error;
    if (!LoadFont(installed, "", error)) GTEST_SKIP() << error;
    std::set<uint32_t> repertoire{' ', 0xFFFD};  // several codes share a character
    for (const auto& pair : kCp932Decode)
        repertoire.insert(pair.unicode);
    Font unpacked;
    ASSERT_TRUE(UnpackFont(PackFont(installed, {repertoire.begin(), repertoire.end()}), unpacked, error)) << error;
    size_t present = 0;
    for (uint32_t cp : repertoire) {
        const Glyph* g = installed.Find(cp);
        if (!g) {
            EXPECT_EQ(unpacked.Find(cp), nullptr);
            continue;
        }
        ++present;
        ExpectSameGlyph(unpacked, cp, *g);
    }
    EXPECT_EQ(unpacked.size(), present);
    EXPECT_GT(present, 7000u);  // the JIS repertoire is there, not a stray few glyphs
}

}  // namespace
}  // namespace kestran::platform::web
