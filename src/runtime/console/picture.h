// The off-screen picture under the text: 640 x 432 pixels, 0x00RRGGBB, where the lines go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/console/text_screen.h"

namespace kestran {

struct PixelPoint {
    int64_t x = 0;
    int64_t y = 0;
};

// The pen of one drawing operation.
struct Pen {
    uint32_t colour = 0xFFFFFF;
    RasterOp op = RasterOp::Copy;
    int style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none; others solid
};

class Picture {
public:
    static constexpr int kWidth = kPictureWidth;
    static constexpr int kHeight = kPictureHeight;

    // Made black in one step (a vector filled element by element took a good part of the
    // browser's start).
    Picture() : pixels_(new uint32_t[kSize]()) {}

    const uint32_t* Row(int y) const { return pixels_.get() + size_t(y) * kWidth; }
    uint32_t At(int x, int y) const { return pixels_[size_t(y) * kWidth + size_t(x)]; }
    void Fill(uint32_t colour);

    // A line with both end pixels drawn: the pixels from `a` up to `b`, then `b` itself.
    // Pixels outside the picture are clipped.
    void DrawLine(PixelPoint a, PixelPoint b, const Pen& pen);
    // The rectangle with corners `a` and `b`, both corner pixels included; its inside is
    // filled first when `fill` is given.
    void DrawBox(PixelPoint a, PixelPoint b, const Pen& pen, const uint32_t* fill);

private:
    // The pixels from `a` to `b` without `b`, continuing the pen's dash pattern at `phase`.
    void DrawSegment(PixelPoint a, PixelPoint b, const Pen& pen, int64_t& phase);
    void Plot(int64_t x, int64_t y, uint32_t colour, RasterOp op);

    static constexpr size_t kSize = size_t(kWidth) * kHeight;
    std::unique_ptr<uint32_t[]> pixels_;
    // Every pixel but those in drawn_ has the colour of the last fill, unless more were drawn
    // than the list keeps.
    static constexpr size_t kDrawnLimit = 1 << 16;
    uint32_t fillColour_ = 0;
    std::vector<uint32_t> drawn_;
    bool drawnOverflow_ = false;
};

}  // namespace kestran
