#include "platform/font.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kestran::platform {
namespace {

TEST(FontTest, ReadsNarrowAndWideGlyphsAndSkipsWhatIsNoGlyph) {
    Font font;
    const std::string wide = "3042:" + std::string(63, '0') + "1\n";
    const size_t taken = font.ParseHex(
        "0041:0000000018242442427E424242420000\r\n"
        "# a comment\n" +
        wide +
        "0042:123\n"                                // too short
        "1F600:0000000018242442427E424242420000\n"  // beyond the BMP
        "zz:0000000018242442427E424242420000\n"
        "0043:000000001824244242GE424242420000");  // not hex, no line end
    EXPECT_EQ(taken, 2u);
    ASSERT_NE(font.Find('A'), nullptr);
    EXPECT_EQ(font.Find('A')->width, 8);
    EXPECT_EQ(font.Find('A')->rows[4], 0x1800);
    ASSERT_NE(font.Find(0x3042), nullptr);
    EXPECT_EQ(font.Find(0x3042)->width, 16);
    EXPECT_EQ(font.Find(0x3042)->rows[15], 0x0001);
    EXPECT_EQ(font.Find('B'), nullptr);
    EXPECT_EQ(font.Find('C'), nullptr);
    EXPECT_EQ(font.Find(0x1F600), nullptr);
}

TEST(FontTest, ALaterGlyphReplacesAnEarlierOne) {
    Font font;
    font.ParseHex("0041:00000000000000000000000000000000\n");
    font.ParseHex("0041:FF000000000000000000000000000000\n");
    EXPECT_EQ(font.size(), 1u);
    EXPECT_EQ(font.Find('A')->rows[0], 0xFF00);
}

TEST(FontTest, AFontWithoutGlyphsFindsNoneAndAMovedFontKeepsItsGlyphs) {
    const Font empty;
    EXPECT_EQ(empty.Find('A'), nullptr);
    EXPECT_EQ(empty.Find(0xFFFF), nullptr);
    Font font;
    font.ParseHex("0041:FF000000000000000000000000000000\n");
    const Font moved = std::move(font);
    ASSERT_NE(moved.Find('A'), nullptr);
    EXPECT_EQ(moved.Find('A')->rows[0], 0xFF00);
    EXPECT_EQ(moved.Find('B'), nullptr);
    EXPECT_EQ(moved.Find(0x10041), nullptr);
}

TEST(FontTest, AMissingOrEmptyFileIsReported) {
    Font font;
    std::string error;
    EXPECT_FALSE(LoadFont(font, "/nonexistent/font.hex", error));
    EXPECT_NE(error.find("/nonexistent/font.hex"), std::string::npos);
    const auto empty = std::filesystem::temp_directory_path() / "kestran_font_test_empty.hex";
    std::ofstream(empty) << "not a font\n";
    EXPECT_FALSE(LoadFont(font, empty.string(), error));
    EXPECT_NE(error.find("no Unifont"), std::string::npos);
    std::filesystem::remove(empty);
}

TEST(FontTest, AFilterKeepsOnlyTheGlyphsItAccepts) {
    const auto file = std::filesystem::temp_directory_path() / "kestran_font_test_filter.hex";
    std::ofstream(file) << "0041:0000000018242442427E424242420000\r\n"
                           "0042:0000000018242442427E424242420000\n"
                           "0043:0000000018242442427E424242420000";  // the last line without its end
    Font font;
    std::string error;
    ASSERT_TRUE(font.LoadHexFile(file.string(), error, [](uint32_t cp) { return cp != 'B'; })) << error;
    EXPECT_EQ(font.size(), 2u);
    EXPECT_NE(font.Find('A'), nullptr);
    EXPECT_EQ(font.Find('B'), nullptr);
    EXPECT_NE(font.Find('C'), nullptr);
    // A file holding nothing the filter wants is as good as no font.
    Font none;
    EXPECT_FALSE(none.LoadHexFile(file.string(), error, [](uint32_t) { return false; }));
    EXPECT_NE(error.find("no Unifont"), std::string::npos);
    std::filesystem::remove(file);
}

TEST(FontTest, TheInstalledUnifontHasTheGameCharacters) {
    Font font;
    std::string error;
    if (!LoadFont(font, "", error)) GTEST_SKIP() << error;
    for (uint32_t cp : {uint32_t('A'), uint32_t('~'), 0xFF76u}) {
        ASSERT_NE(font.Find(cp), nullptr) << cp;
        EXPECT_EQ(font.Find(cp)->width, 8) << cp;
    }
    for (uint32_t cp : {0x3042u, 0x6BD2u, 0x3000u}) {  // あ 毒 ideographic space
        ASSERT_NE(font.Find(cp), nullptr) << cp;
        EXPECT_EQ(font.Find(cp)->width, 16) << cp;
    }
}

}  // namespace
}  // namespace kestran::platform
