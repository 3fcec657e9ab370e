#include "runtime/console/compositor.h"

#include <algorithm>
#include <cstring>

#include "platform/font.h"
#include "runtime/values/cp932.h"
#include "runtime/values/sjis.h"

namespace kestran {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

constexpr size_t kCellCodes = 0x10000;

// Unicode of every CP932 code (one byte, or lead << 8 | trail): a table made once, so that a
// cell costs one lookup. (The tables of 65536 entries here are not vectors: in the browser a
// vector is filled element by element, slowly enough to delay the first frame.)
std::span<const uint32_t> Cp932ToUnicode() {
    static const std::unique_ptr<uint32_t[]> table = [] {
        std::unique_ptr<uint32_t[]> t(new uint32_t[kCellCodes]);
        std::fill_n(t.get(), kCellCodes, kReplacement);
        for (const auto& pair : kCp932Decode)
            t[pair.code] = pair.unicode;
        for (uint32_t b = 0; b < 0x20; ++b)
            t[b] = ' ';
        t[0x7F] = ' ';
        return t;
    }();
    return {table.get(), kCellCodes};
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

// 0x00RRGGBB as the bytes R, G, B, 255 in memory (the little-endian word 0xFFBBGGRR).
uint32_t ToRgba(uint32_t p) {
    return 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// A loop of its own, called rather than inlined: in the browser the functions that can be on the
// stack while the program waits for a key are rewritten so that they can be paused, and a loop
// over every pixel runs at half its speed inside one of them.
[[gnu::noinline]] void CopyPixels(const uint32_t* from, size_t count, uint32_t* to, bool rgba) {
    if (!rgba) {
        std::memcpy(to, from, count * sizeof(uint32_t));
        return;
    }
    // Two pixels a step: wasm has 64-bit words but, in the browsers it must run on, no vectors.
    size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        uint64_t p;
        std::memcpy(&p, from + i, sizeof p);
        p = 0xFF000000FF000000u | ((p & 0x000000FF000000FFu) << 16) | (p & 0x0000FF000000FF00u) |
            ((p >> 16) & 0x000000FF000000FFu);
        std::memcpy(to + i, &p, sizeof p);
    }
    for (; i < count; ++i)
        to[i] = ToRgba(from[i]);
}

void FillCell(uint32_t* dst, int width, uint32_t colour) {
    for (int y = 0; y < kCellHeight; ++y)
        std::fill_n(dst + size_t(y) * kPictureWidth, width * kCellWidth, colour);
}

// What a character cell puts into the frame: its paper where opaque, its glyph's ink over it.
struct CellInk {
    uint32_t* dst;  // the cell's top-left pixel in the frame
    uint16_t code;
    std::span<const uint16_t> glyph;
    int width;  // in cells
    bool opaque;
    uint32_t ink;
    uint32_t paper;
};

// Called, not inlined, for the reason CopyPixels is.
[[gnu::noinline]] void PaintCells(std::span<const CellInk> cells) {
    for (const CellInk& c : cells) {
        if (c.opaque) FillCell(c.dst, c.width, c.paper);
        for (uint16_t offset : c.glyph)
            c.dst[offset] = c.ink;
    }
}

// The characters and colours of a row's cells; a cell with an attribute the colour rule does
// not know keeps the previous cell's colours.
void FillTextCells(const ScreenRow& cells, int backColour, std::array<platform::TextCell, kScreenColumns>& out) {
    const auto unicode = Cp932ToUnicode();
    CellColours colours;
    ResolveCellColours(7, 4, backColour, colours);
    ForEachChar(cells, [&](int column, int width, uint16_t code) {
        ResolveCellColours(cells.colours[size_t(column)], cells.attributes[size_t(column)], backColour, colours);
        for (int i = 0; i < width; ++i)
            out[size_t(column + i)] = {i == 0 ? unicode[code] : 0, colours.ink, colours.paper, colours.opaque};
    });
}

}  // namespace

bool ScreenDrawsCodepoint(uint32_t codepoint) {
    static const std::vector<bool> drawn = [] {
        std::vector<bool> d(0x10000, false);
        for (const uint32_t cp : Cp932ToUnicode())
            d[cp] = true;
        return d;
    }();
    return codepoint < drawn.size() && drawn[codepoint];
}

std::span<const uint16_t> GlyphCache::MakePixels(uint16_t code, const platform::Font& font) {
    if (&font != font_ || !entries_) {
        font_ = &font;
        entries_.reset(new Entry[kCellCodes]());
        pool_.clear();
    }
    Entry& e = entries_[code];
    if (!e.made) Make(code, e);
    return {pool_.data() + e.first, e.count};
}

void GlyphCache::Make(uint16_t code, Entry& e) {
    e.made = true;
    e.first = uint32_t(pool_.size());
    const platform::Glyph* g = font_->Find(Cp932ToUnicode()[code]);
    if (!g) g = font_->Find(kReplacement);
    if (!g || code == ' ') return;
    // A glyph narrower than its cell is centred in it; a wider one is cut to the cell.
    const int cellPixels = code > 0xFF ? 2 * kCellWidth : kCellWidth;
    const int shift = cellPixels > g->width ? (cellPixels - g->width) / 2 : 0;
    for (int r = 0; r < platform::Font::kGlyphHeight; ++r) {
        const unsigned bits = unsigned(g->rows[size_t(r)]) >> shift;  // bit 15: the leftmost pixel
        for (int x = 0; x < cellPixels; ++x) {
            // One blank pixel row above the glyph.
            if (bits & (0x8000u >> x)) pool_.push_back(uint16_t((r + 1) * kPictureWidth + x));
        }
    }
    e.count = uint16_t(pool_.size() - e.first);
}

std::string RowText(const ScreenRow& cells) {
    const auto unicode = Cp932ToUnicode();
    std::string out;
    ForEachChar(cells, [&](int, int, uint16_t code) { AppendUtf8(out, unicode[code]); });
    out.erase(out.find_last_not_of(' ') + 1);
    return out;
}

void Compositor::ComposeRow(int row, const ScreenRow& cells, int backColour, const Picture& picture,
                            const platform::Font* font, bool pixels) {
    auto& textCells = textCells_[size_t(row)];
    // A screen cleared and drawn again at every step mostly prints what its rows held: their
    // text is made again only when their cells or the background changed.
    if (backColour != composedBack_[size_t(row)] || !(cells == composedCells_[size_t(row)])) {
        textRows_[size_t(row)] = RowText(cells);
        FillTextCells(cells, backColour, textCells);
        composedCells_[size_t(row)] = cells;
        composedBack_[size_t(row)] = backColour;
    }
    if (!pixels) return;
    const int top = row * kCellHeight;
    uint32_t* base = frame_.get() + size_t(top) * kPictureWidth;
    const size_t count = size_t(kPictureWidth) * kCellHeight;
    const bool rgba = layout_ == platform::PixelLayout::Rgba;
    CopyPixels(picture.Row(top), count, base, rgba);
    if (!font) return;
    std::array<CellInk, kScreenColumns> inks;
    size_t n = 0;
    ForEachChar(cells, [&](int column, int width, uint16_t code) {
        const platform::TextCell& cell = textCells[size_t(column)];
        glyphs_.Pixels(code, *font);  // made now: making one moves the others
        inks[n++] = {base + column * kCellWidth,
                     code,
                     {},
                     width,
                     cell.opaque,
                     rgba ? ToRgba(cell.ink) : cell.ink,
                     rgba ? ToRgba(cell.paper) : cell.paper};
    });
    for (size_t i = 0; i < n; ++i)
        inks[i].glyph = glyphs_.Pixels(inks[i].code, *font);
    PaintCells(std::span(inks).first(n));
}

platform::FrameView Compositor::Compose(const ScreenBuffer& screen, const TextGrpData& text, const Picture& picture,
                                        const platform::Font* font, DirtyRows& dirty, bool pixels,
                                        platform::PixelLayout layout) {
    if ((pixels && pixelsBehind_) || layout != layout_) dirty.set();
    pixelsBehind_ = !pixels;
    layout_ = layout;
    int first = kScreenRows;
    int last = -1;
    for (int r = 0; r < kScreenRows; ++r) {
        if (!dirty[size_t(r)]) continue;
        ComposeRow(r, screen.rows[size_t(r)], text.backColour, picture, font, pixels);
        first = std::min(first, r);
        last = r;
    }
    dirty.reset();
    platform::FrameView view;
    view.pixels = pixels ? frame_.get() : nullptr;
    view.layout = layout_;
    view.width = kPictureWidth;
    view.height = kPictureHeight;
    view.cellWidth = kCellWidth;
    view.cellHeight = kCellHeight;
    view.dirtyTop = last < 0 ? 0 : first * kCellHeight;
    view.dirtyBottom = last < 0 ? 0 : (last + 1) * kCellHeight;
    view.textRows = &textRows_;
    view.textCells = &textCells_;
    view.background = kBackgroundPalette[size_t(text.backColour & 15)];
    view.cursorColumn = text.cursorColumn;
    view.cursorRow = text.cursorRow;
    view.cursorVisible = text.cursorOn;
    return view;
}

}  // namespace kestran
