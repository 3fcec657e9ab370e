// Draws the program's icon: the first step into the labyrinth, the wire-frame corridor of the game
// with a wall ahead, white lines on a black tile with rounded corners. Each size is drawn from
// the shapes (not scaled from a bigger picture), so the lines stay about a pixel wide and sharp at
// 16 pixels. Usage: draw_icon OUTPUT_FOLDER [SIZE... | --maskable=SIZE...]   (writes kestran-SIZE.png,
// and kestran-maskable-SIZE.png for a maskable one; the default sizes are the installed ones).
// A maskable icon, for a launcher that cuts it to a shape of its own, fills its square and keeps the
// corridor inside the circle every such shape leaves. `cmake --build <dir> --target regen_icons`
// rewrites data/icons/.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Segment {
    double x0, y0, x1, y1;
};

// The corridor of the game's picture in a unit square: the two side walls as far as the next
// cross passage, an opening to the left and the wall that ends the corridor.
constexpr double kNear = 0.10;  // where the tile's margin ends
constexpr double kMid = 0.30;   // the first cross passage
constexpr double kFar = 0.40;   // the wall ahead
const std::vector<Segment> kCorridor = {
    // The walls run from the near corners to the cross passage.
    {kNear, kNear, kMid, kMid},
    {kNear, 1 - kNear, kMid, 1 - kMid},
    {1 - kNear, kNear, 1 - kMid, kMid},
    {1 - kNear, 1 - kNear, 1 - kMid, 1 - kMid},
    // The walls end at the cross passage; on the left it opens, on the right the wall goes on to
    // the wall ahead.
    {kMid, kMid, kMid, 1 - kMid},
    {1 - kMid, kMid, 1 - kMid, 1 - kMid},
    {kMid, kFar, kFar, kFar},
    {kMid, 1 - kFar, kFar, 1 - kFar},
    {1 - kMid, kMid, 1 - kFar, kFar},
    {1 - kMid, 1 - kMid, 1 - kFar, 1 - kFar},
    // The wall ahead.
    {kFar, kFar, 1 - kFar, kFar},
    {kFar, 1 - kFar, 1 - kFar, 1 - kFar},
    {kFar, kFar, kFar, 1 - kFar},
    {1 - kFar, kFar, 1 - kFar, 1 - kFar},
};

double DistanceToSegment(double px, double py, const Segment& s) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.x0 + t * dx), py - (s.y0 + t * dy));
}

// How much of the pixel around a point at `distance` from an edge lies inside it: a one-pixel
// ramp, which is the anti-aliasing.
double Coverage(double halfWidth, double distance) {
    return std::clamp(halfWidth + 0.5 - distance, 0.0, 1.0);
}

// Inside of the rounded tile, in pixels: the distance outside a rounded square (negative inside).
double TileDistance(double x, double y, double size, double radius) {
    const double half = size / 2;
    const double qx = std::abs(x - half) - (half - radius);
    const double qy = std::abs(y - half) - (half - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// The part of a maskable icon's side that its corridor takes: the corners of the drawing stay
// inside the circle of 40 % of the side around the centre that every launcher's shape keeps.
constexpr double kMaskableDrawing = 0.7;

// RGBA pixels of the icon at `size` pixels square.
std::vector<uint8_t> DrawIcon(int size, bool maskable) {
    const double s = size;
    const double lineHalfWidth = std::max(0.5, s / 64.0);
    const double radius = maskable ? 0 : s * 0.14;
    const double drawing = maskable ? s * kMaskableDrawing : s;
    const double margin = (s - drawing) / 2;
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const double tile = Coverage(0, TileDistance(cx, cy, s, radius));
            double line = 0;
            for (const auto& seg : kCorridor) {
                const Segment scaled{margin + seg.x0 * drawing, margin + seg.y0 * drawing, margin + seg.x1 * drawing,
                                     margin + seg.y1 * drawing};
                line = std::max(line, Coverage(lineHalfWidth, DistanceToSegment(cx, cy, scaled)));
            }
            // Black tile, white lines: the screen of the game.
            const double grey = line * 255.0;
            uint8_t* p = &rgba[(static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)) * 4];
            p[0] = p[1] = p[2] = static_cast<uint8_t>(std::lround(grey));
            p[3] = static_cast<uint8_t>(std::lround(tile * 255.0));
        }
    }
    return rgba;
}

bool WriteRgbaPng(const std::string& path, const std::vector<uint8_t>& rgba, int size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    const bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
    if (!ok) std::fprintf(stderr, "draw_icon: cannot write %s: %s\n", path.c_str(), image.message);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_icon OUTPUT_FOLDER [SIZE...]\n");
        return 2;
    }
    struct Icon {
        int size;
        bool maskable;
    };
    std::vector<Icon> icons;
    const std::string maskableOption = "--maskable=";
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        const bool maskable = arg.starts_with(maskableOption);
        if (maskable) arg.erase(0, maskableOption.size());
        const int size = std::atoi(arg.c_str());
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "draw_icon: a size is 8 to 1024 pixels, not %s\n", argv[i]);
            return 2;
        }
        icons.push_back({size, maskable});
    }
    if (icons.empty()) {
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            icons.push_back({size, false});
    }
    for (const Icon& icon : icons) {
        const std::string name =
            std::string(icon.maskable ? "kestran-maskable-" : "kestran-") + std::to_string(icon.size);
        if (!WriteRgbaPng(std::string(argv[1]) + "/" + name + ".png", DrawIcon(icon.size, icon.maskable), icon.size))
            return 1;
    }
    return 0;
}
