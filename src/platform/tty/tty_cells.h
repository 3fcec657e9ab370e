// What the terminal backend shows in each terminal cell: the console's text where a cell holds
// some, else the picture as braille dots. Free of ncurses, so that it is tested without a terminal.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "platform/window.h"

namespace kestran::platform::tty {

// The 16 colours of a terminal: 0-7 the normal ones (black, red, green, yellow, blue, magenta,
// cyan, white), 8-15 their bright forms.
int NearestTerminalColour(uint32_t rgb);

// A terminal colour on a terminal with `colours` colours: with fewer than 16 a bright colour is
// its normal form drawn bold, except bright black, which becomes white (bold black is
// invisible on many terminals).
struct LimitedColour {
    int index = 0;
    bool bold = false;
};
LimitedColour LimitColour(int colour, int colours);

// The picture in one text cell as braille: each of the 2x4 dots is lit when any pixel of its
// part of the cell differs from the frame's background. `colour` is the commonest lit pixel's.
// A cell without a lit pixel is a blank (' ').
struct BrailleCell {
    char32_t ch = ' ';
    uint32_t colour = 0;
};
BrailleCell SampleBraille(const FrameView& frame, int column, int row);

// One terminal cell. `covered` marks the second cell of a double-byte character, which the
// character's own cell draws; `reverse` swaps `fg` and `bg` (the console's reverse cells).
struct TermCell {
    char32_t ch = ' ';
    uint8_t fg = 7;
    uint8_t bg = 0;
    bool reverse = false;
    bool covered = false;

    bool operator==(const TermCell&) const = default;
};
using TermRow = std::array<TermCell, kTextColumns>;

// The terminal cells of text row `row` of a frame: the text of each cell in its colours (a
// reverse cell drawn reversed), and braille in the blank, transparent cells unless `braille` is
// false (for a screen reader, to which braille is noise). A frame without text cells shows the
// picture only.
void ComposeTermRow(const FrameView& frame, int row, TermRow& out, bool braille = true);

// The part of the screen the corridor's picture takes (400 pixels square in cells of 8x18), where
// the terminal of a screen reader shows the picture's words instead.
constexpr int kWordsColumns = 50;
constexpr int kWordsRows = 22;

// Lays the screen's accessible text (UTF-8) into `rows` in `colour`, from the top down, for a
// screen reader that reads the cursor's row: as many whole sentences (up to "。") to a row as it
// takes, so that a short description is one row. A row takes words across its whole width when
// it is blank, across the picture's part (kWordsColumns) when only that is, else none; a sentence
// longer than a row wraps, and words that find no row left among the first kWordsRows are
// dropped. A character takes two cells unless it is ASCII or half-width katakana (the text comes
// from Shift-JIS, where these are the widths). Gives the rows that took words.
std::bitset<kTextRows> LayWords(const std::string& utf8, uint8_t colour, std::array<TermRow, kTextRows>& rows);

// How a character that covers `cells` grid cells is drawn with terminal glyphs of
// `terminalWidth` columns (wcwidth): the glyph and whether a blank pads the second cell.
// A glyph the terminal cannot fit in its cells becomes '?' (padded when it had two cells).
struct PlacedGlyph {
    char32_t ch = ' ';
    bool pad = false;
};
PlacedGlyph PlaceGlyph(char32_t ch, int cells, int terminalWidth);

}  // namespace kestran::platform::tty
