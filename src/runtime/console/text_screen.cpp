#include "runtime/console/text_screen.h"

#include <algorithm>
#include <cstring>

namespace kestran {

namespace {
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r << 16) | (g << 8) | b;
}
}  // namespace

const std::array<uint32_t, 16> kForegroundPalette = {
    Rgb(128, 128, 128), Rgb(0, 0, 128),     Rgb(128, 0, 0),   Rgb(128, 0, 128),   Rgb(0, 128, 0), Rgb(0, 128, 128),
    Rgb(128, 128, 0),   Rgb(192, 192, 192), Rgb(0, 0, 0),     Rgb(0, 0, 255),     Rgb(255, 0, 0), Rgb(255, 0, 255),
    Rgb(0, 255, 0),     Rgb(0, 255, 255),   Rgb(255, 255, 0), Rgb(255, 255, 255),
};

const std::array<uint32_t, 16> kBackgroundPalette = {
    Rgb(0, 0, 0),     Rgb(128, 128, 128), Rgb(0, 0, 128),     Rgb(0, 0, 255),     Rgb(128, 0, 0),   Rgb(255, 0, 0),
    Rgb(128, 0, 128), Rgb(255, 0, 255),   Rgb(0, 128, 0),     Rgb(0, 255, 0),     Rgb(0, 128, 128), Rgb(0, 255, 255),
    Rgb(128, 128, 0), Rgb(255, 255, 0),   Rgb(192, 192, 192), Rgb(255, 255, 255),
};

void ScreenBuffer::ClearCells(int row, int first, int last, uint8_t colour, uint8_t attribute) {
    // Byte fills as memset: a screen is cleared often, and a plain loop costs a check per cell
    // in the instrumented builds.
    auto& r = rows[row];
    const auto count = size_t(last - first);
    std::memset(r.chars.data() + first, ' ', count);
    std::memset(r.colours.data() + first, colour, count);
    std::memset(r.attributes.data() + first, attribute, count);
    std::memset(r.kinds.data() + first, int(CellKind::Single), count);
}

void ScreenBuffer::ScrollUp(int top, int bottom, uint8_t colour, uint8_t attribute) {
    for (int r = top; r < bottom; ++r)
        rows[r] = rows[r + 1];
    ClearRow(bottom, colour, attribute);
}

bool ResolveCellColours(int code, int attribute, int backColour, CellColours& out) {
    code &= 15;
    attribute &= 0x7F;
    if (attribute != 0 && attribute != 1 && attribute != 4 && attribute != 5) return false;
    const bool bright = attribute >= 4;
    int index = code;
    bool reverse = attribute == 1 || attribute == 5;
    if (code < 8) {
        if (bright) index += 8;
    } else {
        // Codes 8 to 15 are always drawn reverse; without the bright attribute they take the
        // darker half of the palette.
        reverse = true;
        if (!bright) index -= 8;
    }
    if (reverse) {
        out = {kBackgroundPalette[backColour & 15], kForegroundPalette[index], true};
    } else {
        out = {kForegroundPalette[index], 0, false};
    }
    return true;
}

}  // namespace kestran
