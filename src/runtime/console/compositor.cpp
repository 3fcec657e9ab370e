#include "runtime/console/compositor.h"

#include <algorithm>
#include <cstring>

#include "platform/font.h"
#include "runtime/values/cp932.h"
#include "runtime/values/sjis.h"

namespace kestran {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Unicode of every CP932 code (one byte, or lead << 8 | trail): a table made once, so that a
// cell costs one lookup.
const std::vector<uint32_t>& Cp932ToUnicode() {
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(0x10000, kReplacement);
        for (const auto& pair : kCp932Decode)
            t[pair.code] = pair.unicode;
        for (uint32_t b = 0; b < 0x20; ++b)
            t[b] = ' ';
        t[0x7F] = ' ';
        return t;
    }();
    return table;
}

// Calls f(column, width, code) for each character of a row: a double-byte character is two
// cells wide; half of one whose partner was overwritten reads as a blank.
template <class F>
void ForEachChar(const ScreenRow& cells, F f) {
    for (int c = 0; c < kScreenColumns;) {
        const CellKind kind = cells.kinds[size_t(c)];
        if (kind == CellKind::Lead && c + 1 < kScreenColumns && cells.kinds[size_t(c) + 1] == CellKind::Trail) {
            f(c, 2, uint16_t(cells.chars[size_t(c)] << 8 | cells.chars[size_t(c) + 1]));
            c += 2;
        } else {
            f(c, 1, kind == CellKind::Single ? uint16_t(cells.chars[size_t(c)]) : uint16_t(' '));
            c += 1;
        }
    }
}

// Pixel masks of the 8 pixels of a glyph row byte, leftmost pixel first.
struct ExpandTable {
    uint32_t masks[256][8];
    constexpr ExpandTable() : masks{} {
        for (int b = 0; b < 256; ++b) {
            for (int j = 0; j < 8; ++j)
                masks[b][j] = (b & (0x80 >> j)) ? 0xFFFFFFFFu : 0u;
        }
    }
};
constexpr ExpandTable kExpand;

inline void Blend8(uint32_t* dst, unsigned bits, uint32_t ink) {
    if (bits == 0) return;
    const uint32_t* m = kExpand.masks[bits];
    for (int j = 0; j < 8; ++j)
        dst[j] = (dst[j] & ~m[j]) | (ink & m[j]);
}

// Draws a glyph into a cell `width` cells wide whose top-left pixel is `dst`. A glyph narrower
// than the cell is centred in it; a wider one is cut to the cell.
void DrawGlyph(uint32_t* dst, const platform::Glyph& g, int width, uint32_t ink) {
    const int cellPixels = width * kCellWidth;
    const int shift = cellPixels > g.width ? (cellPixels - g.width) / 2 : 0;
    uint32_t* row = dst + kPictureWidth;  // one blank pixel row above the glyph
    for (int r = 0; r < platform::Font::kGlyphHeight; ++r, row += kPictureWidth) {
        const unsigned bits = unsigned(g.rows[size_t(r)]) >> shift;
        Blend8(row, (bits >> 8) & 0xFF, ink);
        if (cellPixels == 16) Blend8(row + 8, bits & 0xFF, ink);
    }
}

void FillCell(uint32_t* dst, int width, uint32_t colour) {
    for (int y = 0; y < kCellHeight; ++y)
        std::fill_n(dst + size_t(y) * kPictureWidth, width * kCellWidth, colour);
}

}  // namespace

std::string RowText(const ScreenRow& cells) {
    const auto& unicode = Cp932ToUnicode();
    std::string out;
    ForEachChar(cells, [&](int, int, uint16_t code) { AppendUtf8(out, unicode[code]); });
    out.erase(out.find_last_not_of(' ') + 1);
    return out;
}

void Compositor::ComposeRow(int row, const ScreenRow& cells, int backColour, const Picture& picture,
                            const platform::Font* font) {
    const int top = row * kCellHeight;
    uint32_t* base = frame_.data() + size_t(top) * kPictureWidth;
    std::memcpy(base, picture.Row(top), sizeof(uint32_t) * kPictureWidth * kCellHeight);
    textRows_[size_t(row)] = RowText(cells);
    if (!font) return;
    const auto& unicode = Cp932ToUnicode();
    CellColours colours;
    ResolveCellColours(7, 4, backColour, colours);
    ForEachChar(cells, [&](int column, int width, uint16_t code) {
        ResolveCellColours(cells.colours[size_t(column)], cells.attributes[size_t(column)], backColour, colours);
        uint32_t* dst = base + column * kCellWidth;
        if (colours.opaque) FillCell(dst, width, colours.paper);
        if (code == ' ') return;
        const platform::Glyph* g = font->Find(unicode[code]);
        if (!g) g = font->Find(kReplacement);
        if (g) DrawGlyph(dst, *g, width, colours.ink);
    });
}

platform::FrameView Compositor::Compose(const ScreenBuffer& screen, const TextGrpData& text, const Picture& picture,
                                        const platform::Font* font, DirtyRows& dirty) {
    int first = kScreenRows;
    int last = -1;
    for (int r = 0; r < kScreenRows; ++r) {
        if (!dirty[size_t(r)]) continue;
        ComposeRow(r, screen.rows[size_t(r)], text.backColour, picture, font);
        first = std::min(first, r);
        last = r;
    }
    dirty.reset();
    platform::FrameView view;
    view.pixels = frame_.data();
    view.width = kPictureWidth;
    view.height = kPictureHeight;
    view.cellWidth = kCellWidth;
    view.cellHeight = kCellHeight;
    view.dirtyTop = last < 0 ? 0 : first * kCellHeight;
    view.dirtyBottom = last < 0 ? 0 : (last + 1) * kCellHeight;
    view.textRows = &textRows_;
    view.cursorColumn = text.cursorColumn;
    view.cursorRow = text.cursorRow;
    view.cursorVisible = text.cursorOn;
    return view;
}

}  // namespace kestran
