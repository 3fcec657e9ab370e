// Composition of the frame the window shows: the picture, with the text cells drawn over it by
// the cell colour rule, in Unifont glyphs. Only the rows that changed are composed again.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
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

class Compositor {
public:
    Compositor() : frame_(size_t(kPictureWidth) * kPictureHeight, 0) {}

    // Composes the text rows marked in `dirty` (then clears the marks) and returns the frame.
    // Without a font the text is left out of the pixels but still in the text rows.
    platform::FrameView Compose(const ScreenBuffer& screen, const TextGrpData& text, const Picture& picture,
                                const platform::Font* font, DirtyRows& dirty);

    const std::vector<uint32_t>& pixels() const { return frame_; }
    const std::array<std::string, kScreenRows>& textRows() const { return textRows_; }

private:
    void ComposeRow(int row, const ScreenRow& cells, int backColour, const Picture& picture,
                    const platform::Font* font);

    std::vector<uint32_t> frame_;
    std::array<std::string, kScreenRows> textRows_;
};

// The UTF-8 text of a row of cells, without trailing blanks. A control byte reads as a blank;
// a byte pair that is no character as U+FFFD.
std::string RowText(const ScreenRow& cells);

}  // namespace kestran
