#include "platform/web/font_pack.h"

#include <algorithm>

namespace kestran::platform::web {

namespace {

constexpr std::string_view kMagic = "KFN2";
constexpr size_t kHeaderSize = 8;
constexpr uint32_t kPlaneSize = 0x10000;
constexpr size_t kRows = Font::kGlyphHeight;

void PutLittle(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

uint32_t GetLittle(std::string_view in, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32_t(uint8_t(in[at + size_t(i)])) << (8 * i);
    return value;
}

bool WideAt(std::string_view packed, size_t widthsAt, uint32_t i) {
    return (uint8_t(packed[widthsAt + i / 8]) >> (i % 8)) & 1;
}

// Where each part of a packed font begins; `valid` is false when `packed` cannot hold them.
struct Parts {
    bool valid = false;
    uint32_t count = 0;
    size_t steps = 0, widths = 0, narrow = 0, left = 0, right = 0;
};

Parts Locate(std::string_view packed) {
    Parts p;
    if (packed.size() < kHeaderSize || packed.substr(0, kMagic.size()) != kMagic) return p;
    p.count = GetLittle(packed, 4, 4);
    if (p.count > kPlaneSize) return p;
    p.steps = kHeaderSize;
    p.widths = p.steps + 2 * size_t(p.count);
    p.narrow = p.widths + (size_t(p.count) + 7) / 8;
    if (packed.size() < p.narrow) return p;
    size_t wide = 0;
    for (uint32_t i = 0; i < p.count; ++i)
        wide += WideAt(packed, p.widths, i) ? 1 : 0;
    p.left = p.narrow + (p.count - wide) * kRows;
    p.right = p.left + wide * kRows;
    p.valid = packed.size() == p.right + wide * kRows;
    return p;
}

// The code points, from their steps (the low bytes of all, then the high bytes); empty when
// they do not strictly increase within the plane.
std::vector<uint32_t> CodePoints(std::string_view packed, const Parts& p) {
    std::vector<uint32_t> codepoints;
    codepoints.reserve(p.count);
    uint32_t cp = 0;
    for (uint32_t i = 0; i < p.count; ++i) {
        const uint32_t step = uint8_t(packed[p.steps + i]) | uint32_t(uint8_t(packed[p.steps + p.count + i])) << 8;
        if (i > 0 && step == 0) return {};
        cp += step;
        if (cp >= kPlaneSize) return {};
        codepoints.push_back(cp);
    }
    return codepoints;
}

}  // namespace

std::string PackFont(const Font& font, std::vector<uint32_t> codepoints) {
    std::sort(codepoints.begin(), codepoints.end());
    codepoints.erase(std::unique(codepoints.begin(), codepoints.end()), codepoints.end());
    std::erase_if(codepoints, [&](uint32_t cp) { return cp >= kPlaneSize || !font.Find(cp); });

    const auto count = uint32_t(codepoints.size());
    std::string out(kMagic);
    PutLittle(out, count, 4);
    std::string low, high;
    uint32_t previous = 0;
    for (uint32_t cp : codepoints) {
        low += char((cp - previous) & 0xFF);
        high += char((cp - previous) >> 8);
        previous = cp;
    }
    std::string widths((count + 7) / 8, '\0');
    std::string narrow, left, right;
    for (size_t i = 0; i < codepoints.size(); ++i) {
        const Glyph& g = *font.Find(codepoints[i]);
        const bool wide = g.width == 16;
        if (wide) widths[i / 8] = char(uint8_t(widths[i / 8]) | (1u << (i % 8)));
        for (uint16_t row : g.rows) {
            (wide ? left : narrow) += char(row >> 8);
            if (wide) right += char(row & 0xFF);
        }
    }
    return out + low + high + widths + narrow + left + right;
}

bool UnpackFont(std::string_view packed, Font& font, std::string& error) {
    error = "the font asset is damaged";
    // Checked whole before the font is touched.
    const Parts p = Locate(packed);
    if (!p.valid) return false;
    const std::vector<uint32_t> codepoints = CodePoints(packed, p);
    if (codepoints.size() != p.count) return false;

    size_t narrow = p.narrow, left = p.left, right = p.right;
    for (uint32_t i = 0; i < p.count; ++i) {
        const bool wide = WideAt(packed, p.widths, i);
        Glyph g;
        g.width = wide ? 16 : 8;
        for (auto& row : g.rows) {
            if (!wide) {
                row = uint16_t(uint8_t(packed[narrow++]) << 8);
            } else {
                row = uint16_t(uint8_t(packed[left++]) << 8 | uint8_t(packed[right++]));
            }
        }
        font.Add(codepoints[i], g);
    }
    error.clear();
    return true;
}

}  // namespace kestran::platform::web
