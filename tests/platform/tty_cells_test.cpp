// What the terminal backend puts in each terminal cell: colours, braille pictures, text.
#if KESTRAN_HAVE_TTY
#include "platform/tty/tty_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kestran::platform::tty {
namespace {

constexpr int kWidth = kTextColumns * 8;
constexpr int kHeight = kTextRows * 18;

// A frame of the console's size with no text cells; pixels are set by hand.
class Frame {
public:
    Frame() : pixels_(size_t(kWidth) * kHeight, 0) {
        view_.pixels = pixels_.data();
        view_.width = kWidth;
        view_.height = kHeight;
        view_.cellWidth = 8;
        view_.cellHeight = 18;
    }
    void Set(int x, int y, uint32_t colour) { pixels_[size_t(y) * kWidth + size_t(x)] = colour; }
    void Fill(uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }
    FrameView& view() { return view_; }

private:
    std::vector<uint32_t> pixels_;
    FrameView view_;
};

TEST(TtyColourTest, TheConsolePalettesFindTheirTerminalColoursExactly) {
    const std::pair<uint32_t, int> cases[] = {
        {0x000000, 0},
        {0x800000, 1},
        {0x000080, 4},
        {0x808000, 3},
        {0xC0C0C0, 7},
        {0x808080, 8},
        {0xFF0000, 9},
        {0x00FFFF, 14},
        {0xFFFFFF, 15},
        // Other colours go to the nearest.
        {0xF0F0F0, 15},
        {0x101020, 0},
        {0xE00010, 9},
    };
    for (const auto& [rgb, colour] : cases)
        EXPECT_EQ(NearestTerminalColour(rgb), colour) << std::hex << rgb;
}

TEST(TtyColourTest, EightColourTerminalsShowBrightColoursBold) {
    EXPECT_EQ(LimitColour(9, 256).index, 9);
    EXPECT_FALSE(LimitColour(9, 16).bold);
    const LimitedColour red = LimitColour(9, 8);
    EXPECT_EQ(red.index, 1);
    EXPECT_TRUE(red.bold);
    EXPECT_EQ(LimitColour(15, 8).index, 7);
    // Bright black as bold black would vanish on a black background.
    const LimitedColour grey = LimitColour(8, 8);
    EXPECT_EQ(grey.index, 7);
    EXPECT_FALSE(grey.bold);
    EXPECT_EQ(LimitColour(3, 8).index, 3);
    EXPECT_FALSE(LimitColour(3, 8).bold);
}

TEST(TtyBrailleTest, EachDotCoversItsPartOfTheCell) {
    // Dot rows split the 18 pixel rows at 4, 9 and 13; dot columns at 4.
    struct Case {
        int x, y;
        char32_t ch;
    };
    const Case cases[] = {
        {0, 0, 0x2801}, {3, 3, 0x2801},  {4, 0, 0x2808},  {0, 4, 0x2802},  {0, 8, 0x2802},
        {0, 9, 0x2804}, {7, 12, 0x2820}, {0, 13, 0x2840}, {7, 17, 0x2880},
    };
    for (const auto& c : cases) {
        Frame frame;
        frame.Set(c.x, c.y, 0xFFFFFF);
        EXPECT_EQ(SampleBraille(frame.view(), 0, 0).ch, c.ch) << c.x << "," << c.y;
    }
}

TEST(TtyBrailleTest, OnlyPixelsOfTheCellsOwnAreaCount) {
    Frame frame;
    frame.Set(8, 18, 0xFFFFFF);  // the top left pixel of cell (1, 1)
    EXPECT_EQ(SampleBraille(frame.view(), 0, 0).ch, U' ');
    EXPECT_EQ(SampleBraille(frame.view(), 1, 0).ch, U' ');
    EXPECT_EQ(SampleBraille(frame.view(), 0, 1).ch, U' ');
    EXPECT_EQ(SampleBraille(frame.view(), 1, 1).ch, char32_t(0x2801));
    frame.Set(kWidth - 1, kHeight - 1, 0xFFFFFF);
    EXPECT_EQ(SampleBraille(frame.view(), kTextColumns - 1, kTextRows - 1).ch, char32_t(0x2880));
    EXPECT_EQ(SampleBraille(frame.view(), kTextColumns, 0).ch, U' ');  // outside the frame
}

TEST(TtyBrailleTest, TheBackgroundIsUnlitAndTheCommonestColourWins) {
    Frame frame;
    frame.Fill(0x000080);
    frame.view().background = 0x000080;
    EXPECT_EQ(SampleBraille(frame.view(), 3, 3).ch, U' ');
    frame.Set(24, 54, 0xFF0000);
    frame.Set(25, 54, 0x00FF00);
    frame.Set(31, 71, 0x00FF00);
    const BrailleCell cell = SampleBraille(frame.view(), 3, 3);
    EXPECT_EQ(cell.ch, char32_t(0x2881));
    EXPECT_EQ(cell.colour, 0x00FF00u);
    frame.view().background = 0;
    EXPECT_EQ(SampleBraille(frame.view(), 3, 3).ch, char32_t(0x28FF));
}

TEST(TtyRowTest, TextByCellsAndThePictureInTheBlankTransparentCells) {
    Frame frame;
    TextCells cells{};
    auto& row = cells[2];
    const uint32_t white = 0xFFFFFF;
    row[0] = {U'A', white, 0, false};
    row[1] = {0x3042, white, 0, false};  // "あ" covers cells 1 and 2
    row[2] = {0, white, 0, false};
    row[3] = {U'B', 0x000000, 0xFF0000, true};
    row[5] = {U' ', 0x000000, 0x00FF00, true};
    frame.view().textCells = &cells;
    for (int column : {0, 4, 5}) {  // a line through cells 0, 4 and 5 of text row 2
        for (int x = column * 8; x < column * 8 + 8; ++x)
            frame.Set(x, 2 * 18 + 10, 0x00FFFF);
    }
    TermRow out;
    ComposeTermRow(frame.view(), 2, out);
    EXPECT_EQ(out[0].ch, U'A');  // text hides the picture
    EXPECT_EQ(out[0].fg, 15);
    EXPECT_EQ(out[1].ch, char32_t(0x3042));
    EXPECT_FALSE(out[1].covered);
    EXPECT_TRUE(out[2].covered);
    EXPECT_EQ(out[3].ch, U'B');
    EXPECT_TRUE(out[3].reverse);
    EXPECT_EQ(out[3].fg, 9);  // the paper, which the terminal's reverse puts behind
    EXPECT_EQ(out[3].bg, 0);
    EXPECT_EQ(out[4].ch, char32_t(0x2800 | 0x04 | 0x20));
    EXPECT_EQ(out[4].fg, 14);
    EXPECT_FALSE(out[4].reverse);
    EXPECT_EQ(out[5].ch, U' ');  // an opaque blank covers the picture
    EXPECT_TRUE(out[5].reverse);
    EXPECT_EQ(out[5].fg, 10);
    EXPECT_EQ(out[6].ch, U' ');
}

TEST(TtyRowTest, AFrameWithoutTextCellsShowsThePicture) {
    Frame frame;
    frame.Set(0, 0, 0xFFFFFF);
    TermRow out;
    ComposeTermRow(frame.view(), 0, out);
    EXPECT_EQ(out[0].ch, char32_t(0x2801));
    EXPECT_EQ(out[1].ch, U' ');
}

// A row's characters as the terminal shows them, without the trailing blanks.
std::u32string Shown(const TermRow& row) {
    std::u32string text;
    for (const TermCell& cell : row) {
        if (!cell.covered) text += cell.ch;
    }
    return text.substr(0, text.find_last_not_of(U' ') + 1);
}

// For a screen reader: no braille, and the words from the top, as many whole sentences to a row
// as fit (all its width when blank, the picture's part when only that is), around the game's
// own text; a sentence too long for its row wraps, and what finds no row is left out.
TEST(TtyWordsTest, SentencesFillTheBlankRowsAroundTheGamesTextAndLongOnesWrap) {
    Frame frame;
    frame.Fill(0xFFFFFF);
    TextCells cells{};
    cells[1][49] = {U'X', 0xFFFFFF, 0, false};  // the game's text in the picture's part
    cells[2][60] = {U'Y', 0xFFFFFF, 0, false};  // and beside it
    frame.view().textCells = &cells;
    std::array<TermRow, kTextRows> rows;
    for (int r = 0; r < kTextRows; ++r)
        ComposeTermRow(frame.view(), r, rows[size_t(r)], false);
    const std::u32string wide = U"あいうえおかきくけこさしすせそたちつてとなにぬねのは。";  // 52 cells
    const std::u32string longer = std::u32string(44, U'ア') + U"。";                        // 90 cells
    std::string words = "前はA壁。あいうえおかきくけこさしすせそたちつてとなにぬねのは。";
    for (int i = 0; i < 44; ++i)
        words += "ア";
    words += "。";
    for (int i = 0; i < 400; ++i)
        words += "壁。";
    EXPECT_EQ(LayWords(words, 7, rows).count(), size_t(kWordsRows) - 1);
    EXPECT_EQ(Shown(rows[0]), U"前はA壁。" + wide);  // ASCII takes one cell
    EXPECT_EQ(rows[0][5].ch, U'壁');
    EXPECT_EQ(Shown(rows[1]), std::u32string(49, U' ') + U"X");
    EXPECT_EQ(Shown(rows[2]), longer.substr(0, 25) + std::u32string(10, U' ') + U"Y");
    std::u32string rest = longer.substr(25);
    for (int i = 0; i < 10; ++i)
        rest += U"壁。";
    EXPECT_EQ(Shown(rows[3]), rest);
    EXPECT_EQ(Shown(rows[size_t(kWordsRows)]), U"");
}

TEST(TtyGlyphTest, ACharacterKeepsItsCellsWhateverTheTerminalsWidth) {
    EXPECT_EQ(PlaceGlyph(0x3042, 2, 2).ch, char32_t(0x3042));
    EXPECT_FALSE(PlaceGlyph(0x3042, 2, 2).pad);
    // A double-byte character the terminal draws narrow gets a blank after it.
    EXPECT_EQ(PlaceGlyph(0x2500, 2, 1).ch, char32_t(0x2500));
    EXPECT_TRUE(PlaceGlyph(0x2500, 2, 1).pad);
    EXPECT_EQ(PlaceGlyph(U'a', 1, 1).ch, U'a');
    // One the terminal cannot fit, or does not know, is shown as '?' in its cells.
    EXPECT_EQ(PlaceGlyph(0x3042, 1, 2).ch, U'?');
    EXPECT_FALSE(PlaceGlyph(0x3042, 1, 2).pad);
    EXPECT_EQ(PlaceGlyph(0xE000, 2, -1).ch, U'?');
    EXPECT_TRUE(PlaceGlyph(0xE000, 2, -1).pad);
    EXPECT_EQ(PlaceGlyph(0x0301, 1, 0).ch, U'?');
}

}  // namespace
}  // namespace kestran::platform::tty
#endif
