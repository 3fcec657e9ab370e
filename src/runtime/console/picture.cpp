#include "runtime/console/picture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

namespace kestran {

namespace {

// On and off runs of the styled pens, in pixels; the pattern runs on over a line's segments.
std::span<const int> DashPattern(int style) {
    static constexpr std::array<int, 2> kDash = {18, 6};
    static constexpr std::array<int, 2> kDot = {3, 3};
    static constexpr std::array<int, 4> kDashDot = {9, 6, 3, 6};
    static constexpr std::array<int, 6> kDashDotDot = {9, 3, 3, 3, 3, 3};
    switch (style) {
        case 1:
            return kDash;
        case 2:
            return kDot;
        case 3:
            return kDashDot;
        case 4:
            return kDashDotDot;
        default:
            return {};
    }
}

bool PatternOn(std::span<const int> pattern, int64_t phase) {
    if (pattern.empty()) return true;
    int period = 0;
    for (int run : pattern)
        period += run;
    int64_t pos = phase % period;
    for (size_t k = 0; k < pattern.size(); ++k) {
        if (pos < pattern[k]) return k % 2 == 0;
        pos -= pattern[k];
    }
    return false;
}

constexpr int kNullStyle = 5;

// The steps i in [0, n) for which start + i * step lies in [0, limit).
void ClipSteps(int64_t start, int step, int64_t limit, int64_t n, int64_t& lo, int64_t& hi) {
    if (step > 0) {
        lo = std::max<int64_t>(0, -start);
        hi = std::min<int64_t>(n, limit - start);
    } else {
        lo = std::max<int64_t>(0, start - limit + 1);
        hi = std::min<int64_t>(n, start + 1);
    }
}

}  // namespace

void Picture::Fill(uint32_t colour) {
    // Only the pixels drawn since the last fill can differ from its colour: a screen of lines
    // cleared after every key costs the pixels of its lines, not the whole picture.
    if (colour != fillColour_ || drawnOverflow_) {
        std::fill_n(pixels_.get(), kSize, colour);
    } else {
        for (const uint32_t offset : drawn_)
            pixels_[offset] = colour;
    }
    fillColour_ = colour;
    drawn_.clear();
    drawnOverflow_ = false;
}

void Picture::Plot(int64_t x, int64_t y, uint32_t colour, RasterOp op) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
    const auto offset = uint32_t(y * kWidth + x);
    if (drawn_.size() < kDrawnLimit) {
        drawn_.push_back(offset);
    } else {
        drawnOverflow_ = true;
    }
    uint32_t& p = pixels_[offset];
    switch (op) {
        case RasterOp::Copy:
            p = colour;
            break;
        case RasterOp::And:
            p &= colour;
            break;
        case RasterOp::Or:
            p |= colour;
            break;
        case RasterOp::Xor:
            p ^= colour;
            break;
        case RasterOp::Invert:
            p = ~p & 0xFFFFFFu;
            break;
    }
}

void Picture::DrawSegment(PixelPoint a, PixelPoint b, const Pen& pen, int64_t& phase) {
    const int64_t dx = b.x - a.x;
    const int64_t dy = b.y - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0) return;
    const int64_t minorLength = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int minorStep = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const int64_t majorStart = xMajor ? a.x : a.y;
    const int64_t minorStart = xMajor ? a.y : a.x;
    int64_t lo = 0;
    int64_t hi = 0;
    ClipSteps(majorStart, majorStep, xMajor ? kWidth : kHeight, n, lo, hi);
    const auto pattern = DashPattern(pen.style);
    for (int64_t i = lo; i < hi; ++i) {
        if (!PatternOn(pattern, phase + i)) continue;
        // The minor coordinate of step i, rounded to the nearest pixel.
        const int64_t minor = minorStart + minorStep * ((2 * i * minorLength + n) / (2 * n));
        const int64_t major = majorStart + majorStep * i;
        if (xMajor) {
            Plot(major, minor, pen.colour, pen.op);
        } else {
            Plot(minor, major, pen.colour, pen.op);
        }
    }
    phase += n;
}

void Picture::DrawLine(PixelPoint a, PixelPoint b, const Pen& pen) {
    if (pen.style == kNullStyle) return;
    // A third point one pixel past the end along the line's main direction, so that the
    // polyline's last segment draws the end pixel.
    const int64_t adx = std::llabs(b.x - a.x);
    const int64_t ady = std::llabs(b.y - a.y);
    PixelPoint past = b;
    if (2 * adx >= ady) past.x += b.x >= a.x ? 1 : -1;
    if (2 * ady >= adx) past.y += b.y >= a.y ? 1 : -1;
    int64_t phase = 0;
    DrawSegment(a, b, pen, phase);
    DrawSegment(b, past, pen, phase);
}

void Picture::DrawBox(PixelPoint a, PixelPoint b, const Pen& pen, const uint32_t* fill) {
    const int64_t left = std::min(a.x, b.x);
    const int64_t right = std::max(a.x, b.x);
    const int64_t top = std::min(a.y, b.y);
    const int64_t bottom = std::max(a.y, b.y);
    const bool outline = pen.style != kNullStyle;
    if (fill) {
        // Inside the outline only, so that no pixel is drawn twice (exclusive or stays exact).
        const int64_t inset = outline ? 1 : 0;
        const int64_t y0 = std::max<int64_t>(top + inset, 0);
        const int64_t y1 = std::min<int64_t>(bottom - inset, kHeight - 1);
        const int64_t x0 = std::max<int64_t>(left + inset, 0);
        const int64_t x1 = std::min<int64_t>(right - inset, kWidth - 1);
        for (int64_t y = y0; y <= y1; ++y) {
            for (int64_t x = x0; x <= x1; ++x)
                Plot(x, y, *fill, pen.op);
        }
    }
    if (!outline) return;
    if (left == right || top == bottom) {
        DrawLine({left, top}, {right, bottom}, pen);
        return;
    }
    // Clockwise from the top-left corner; each segment leaves out its end, the next corner.
    int64_t phase = 0;
    DrawSegment({left, top}, {right, top}, pen, phase);
    DrawSegment({right, top}, {right, bottom}, pen, phase);
    DrawSegment({right, bottom}, {left, bottom}, pen, phase);
    DrawSegment({left, bottom}, {left, top}, pen, phase);
}

}  // namespace kestran
