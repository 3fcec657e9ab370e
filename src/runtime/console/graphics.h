// Line graphics on the picture under the text.
#pragma once

#include <source_location>

namespace kestran {

struct Runtime;

constexpr int kNotGiven = 65535;  // a function or line style left to its default

// LINE with every argument: device (0, the window); start point (relative to the last point
// when `startRelative` is nonzero; the last point itself when mask bit 0 is clear); end point
// (relative to the start when `endRelative` is nonzero); drawing function 0 set, 1 reset,
// 2 and, 3 or, 4 exclusive or, 5 invert; colour code (mask bit 2); box mode 0 line, 1 box,
// 2 filled box; fill colour code (mask bit 3); line style 0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 none. A line draws both end pixels; the end becomes the last point.
// Errors: no window 1000; a colour or fill colour code above 15: 5; a coordinate that
// overflows or lies beyond the device's range: 6.
void PbLine(Runtime& rt, int device, int startRelative, double x1, double y1, int endRelative, double x2, double y2,
            int function, int colour, int boxMode, int fillColour, int style, int mask,
            std::source_location where = std::source_location::current());

// LINE (x1, y1)-(x2, y2): a solid line in the default pen colour (white).
void PbLine(Runtime& rt, double x1, double y1, double x2, double y2,
            std::source_location where = std::source_location::current());

}  // namespace kestran
