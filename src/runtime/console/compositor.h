// Composition of the frame the window shows: the picture, with the text cells drawn over it by
// the cell colour rule, in Unifont glyphs. Only the rows that changed are composed again.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/window.h"
#include "runtime/console/picture.h"
#include "runtime/console/text_screen.h"

namespace kestran::platform {
class Font;
}

namespace kestran {

using DirtyRows = std::bitset<kScreenRows>;
static_assert(kScreenColumns == platform::kTextColumns && kScreenRows == platform::kTextRows);

// The set pixels of each cell code's glyph as offsets in the frame from the cell's top-left
// pixel, made on first use: drawing a character is then one store per pixel of ink.
class GlyphCache {
public:
    // Valid until a glyph not made before is asked for.
    std::span<const uint16_t> Pixels(uint16_t code, const platform::Font& font) {
        if (&font == font_ && entries_ && entries_[code].made)
            return {pool_.data() + entries_[code].first, entries_[code].count};
        return MakePixels(code, font);
    }

private:
    std::span<const uint16_t> MakePixels(uint16_t code, const platform::Font& font);
    struct Entry {
        uint32_t first = 0;
        uint16_t count = 0;
        bool made = false;
    };
    void Make(uint16_t code, Entry& e);

    const platform::Font* font_ = nullptr;
    std::unique_ptr<Entry[]> entries_;  // per cell code: a byte, or lead << 8 | trail
    std::vector<uint16_t> pool_;
};

class Compositor {
public:
    // The frame is made black in one step, as the picture is.
    Compositor() : frame_(new uint32_t[size_t(kPictureWidth) * kPictureHeight]()) {}

    // Composes the text rows marked in `dirty` (then clears the marks) and returns the frame.
    // Without a font the text is left out of the pixels but still in the text rows. Without
    // `pixels` only the text is composed and the frame has no pixels; a later call with
    // `pixels` composes them all again, as does a call with another `layout` than the last.
    platform::FrameView Compose(const ScreenBuffer& screen, const TextGrpData& text, const Picture& picture,
                                const platform::Font* font, DirtyRows& dirty, bool pixels = true,
                                platform::PixelLayout layout = platform::PixelLayout::Xrgb);

    const uint32_t* pixels() const { return frame_.get(); }
    const std::array<std::string, kScreenRows>& textRows() const { return textRows_; }

private:
    void ComposeRow(int row, const ScreenRow& cells, int backColour, const Picture& picture, const platform::Font* font,
                    bool pixels);

    std::unique_ptr<uint32_t[]> frame_;
    std::array<std::string, kScreenRows> textRows_;
    platform::TextCells textCells_{};
    GlyphCache glyphs_;
    // What textRows_ and textCells_ were made from, per row (a background of -1: nothing yet).
    std::array<ScreenRow, kScreenRows> composedCells_{};
    std::array<int, kScreenRows> composedBack_ = MakeUnset();
    static std::array<int, kScreenRows> MakeUnset() {
        std::array<int, kScreenRows> a;
        a.fill(-1);
        return a;
    }
    bool pixelsBehind_ = false;  // rows were composed without their pixels
    platform::PixelLayout layout_ = platform::PixelLayout::Xrgb;
};

// Whether the screen ever draws the glyph of `codepoint`: a character of the CP932 table, or
// the replacement character for a byte pair that is none. The font need keep no other glyph.
bool ScreenDrawsCodepoint(uint32_t codepoint);

// The UTF-8 text of a row of cells, without trailing blanks. A control byte reads as a blank;
// a byte pair that is no character as U+FFFD.
std::string RowText(const ScreenRow& cells);

}  // namespace kestran
