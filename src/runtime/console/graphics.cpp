#include "runtime/console/graphics.h"

#include <algorithm>

#include "runtime/console/console_errors.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/numbers.h"

namespace kestran {

namespace {

// Device coordinates are 28-bit signed numbers; anything further out is an overflow.
constexpr int64_t kCoordinateLimit = (int64_t{1} << 27) - 1;

int64_t ToPixel(double v, std::source_location where) {
    const int64_t p = PbToLong(v, where);
    if (p > kCoordinateLimit || p < -kCoordinateLimit) PbRaiseError(6, ErrorSite(console_site::kLine, 4), where);
    return p;
}

uint32_t PaletteColour(int code, uint32_t point, std::source_location where) {
    if (code < 0 || code > 15) PbRaiseError(5, ErrorSite(console_site::kLine, point), where);
    return kBackgroundPalette[size_t(code)];
}

RasterOp OpOfFunction(int function, RasterOp defaultOp) {
    switch (function) {
        case kNotGiven:
            return defaultOp;
        case 2:
            return RasterOp::And;
        case 3:
            return RasterOp::Or;
        case 4:
            return RasterOp::Xor;
        case 5:
            return RasterOp::Invert;
        default:
            return RasterOp::Copy;
    }
}

}  // namespace

void PbLine(Runtime& rt, int device, int startRelative, double x1, double y1, int endRelative, double x2, double y2,
            int function, int colour, int boxMode, int fillColour, int style, int mask, std::source_location where) {
    PbStatement(rt, where);
    if (device != 0) PbRaiseError(1000, ErrorSite(console_site::kLine, 1), where);
    RequireWindow(rt, console_site::kLine, where);
    if (rt.frame.options.refuseWindowGraphics != 0) PbRaiseError(90, ErrorSite(console_site::kLine, 5), where);
    Console& c = rt.console;
    TextGrpData& t = c.text;
    function &= 0xFFFF;
    style &= 0xFFFF;
    const uint32_t defaultPen = kBackgroundPalette[t.graphicsColour & 15];
    Pen pen;
    pen.colour = (mask & 4) ? PaletteColour(colour & 0xFFFF, 2, where) : defaultPen;
    uint32_t fill = pen.colour;
    if (boxMode == 2 && (mask & 8)) fill = PaletteColour(fillColour & 0xFFFF, 3, where);
    if (function == 1) pen.colour = kBackgroundPalette[t.backColour & 15];
    pen.op = OpOfFunction(function, t.defaultOp);
    pen.style = style == kNotGiven ? t.defaultLineStyle : style;

    double sx = (mask & 1) ? x1 : t.lastX;
    double sy = (mask & 1) ? y1 : t.lastY;
    if (startRelative) {
        sx = PbStore(double(t.lastX) + sx, where);
        sy = PbStore(double(t.lastY) + sy, where);
    }
    double ex = x2;
    double ey = y2;
    if (endRelative) {
        ex = PbStore(sx + ex, where);
        ey = PbStore(sy + ey, where);
    }
    const PixelPoint a{ToPixel(sx, where), ToPixel(sy, where)};
    const PixelPoint b{ToPixel(ex, where), ToPixel(ey, where)};
    if (boxMode == 1 || boxMode == 2) {
        c.picture.DrawBox(a, b, pen, boxMode == 2 ? &fill : nullptr);
    } else {
        c.picture.DrawLine(a, b, pen);
    }
    c.MarkPixelRowsDirty(std::min(a.y, b.y), std::max(a.y, b.y));
    t.lastX = float(ex);
    t.lastY = float(ey);
}

void PbLine(Runtime& rt, double x1, double y1, double x2, double y2, std::source_location where) {
    PbLine(rt, 0, 0, x1, y1, 0, x2, y2, kNotGiven, 0, 0, 0, kNotGiven, 3, where);
}

}  // namespace kestran
