// The cell memory and the text state of the main window: what every printed cell holds, the
// cursor, the console lines and the colour rule that turns a cell's codes into display colours.
#pragma once

#include <array>
#include <cstdint>

namespace kestran {

constexpr int kScreenColumns = 80;
constexpr int kScreenRows = 24;
constexpr int kBufferWidth = 132;  // the widest row the buffer allows; 80 cells are used
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 18;  // the 16-pixel glyph with one blank row above and below
constexpr int kPictureWidth = kScreenColumns * kCellWidth;
constexpr int kPictureHeight = kScreenRows * kCellHeight;

// What a cell's byte is within its character.
enum class CellKind : uint8_t { Single = 0, Lead = 1, Trail = 2 };

// One row of cells, as four planes.
struct ScreenRow {
    std::array<uint8_t, kBufferWidth> chars{};
    std::array<uint8_t, kBufferWidth> colours{};
    std::array<uint8_t, kBufferWidth> attributes{};
    std::array<CellKind, kBufferWidth> kinds{};

    bool operator==(const ScreenRow&) const = default;
};

struct ScreenBuffer {
    std::array<ScreenRow, kScreenRows> rows{};

    // Fills cells [first, last) of a row with blanks in the given colour and attribute.
    void ClearCells(int row, int first, int last, uint8_t colour, uint8_t attribute);
    void ClearRow(int row, uint8_t colour, uint8_t attribute) { ClearCells(row, 0, kBufferWidth, colour, attribute); }
    // Moves rows [top + 1, bottom] up by one and clears `bottom`.
    void ScrollUp(int top, int bottom, uint8_t colour, uint8_t attribute);
};

// Raster operations of the graphics pen.
enum class RasterOp : uint8_t { Copy, And, Or, Xor, Invert };

// The text and graphics state of the window.
struct TextGrpData {
    int columns = kScreenColumns;
    int rows = kScreenRows;
    int lineWidth = kScreenColumns;  // printing wraps items at this width
    int cellWidth = kCellWidth;
    int cellHeight = kCellHeight;

    int cursorColumn = 0;
    int cursorRow = 0;
    bool cursorOn = false;  // the caret is shown
    bool focus = false;     // the window has the keyboard focus

    int consoleTop = 0;  // the lines that scroll
    int consoleLines = kScreenRows;
    int viewColumn = 0;  // first visible cell when the window is smaller than the screen
    int viewRow = 0;

    uint8_t textColour = 7;
    uint8_t backColour = 0;
    uint8_t graphicsColour = 15;
    uint8_t attribute = 4;

    // Graphics: the end of the previous line and the pen defaults.
    float lastX = 0;
    float lastY = 0;
    RasterOp defaultOp = RasterOp::Copy;
    int defaultLineStyle = 0;  // solid
    int penWidth = 1;
};

// Display colours, 0x00RRGGBB. The foreground palette colours characters, the background
// palette fills reverse cells' ink and is also the graphics palette.
extern const std::array<uint32_t, 16> kForegroundPalette;
extern const std::array<uint32_t, 16> kBackgroundPalette;

// How one cell is drawn: `ink` for the glyph's pixels; an opaque cell is first filled with
// `paper`, a transparent one lets the picture show through.
struct CellColours {
    uint32_t ink = 0;
    uint32_t paper = 0;
    bool opaque = false;
};

// The cell colour rule for colour code `code` (0-15) and `attribute` (0, 1, 4 or 5; the top bit
// is a flag and ignored). `backColour` is the window's background colour code. Returns false
// for an attribute the rule does not know, whose cell keeps the previous cell's colours.
bool ResolveCellColours(int code, int attribute, int backColour, CellColours& out);

}  // namespace kestran
