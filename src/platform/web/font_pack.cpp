#include "platform/web/font_pack.h"

#include <algorithm>

namespace kestran::platform::web {

namespace {

constexpr std::string_view kMagic = "KFN1";
constexpr size_t kHeaderSize = 8;
constexpr uint32_t kPlaneSize = 0x10000;

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

size_t BitmapSize(bool wide) {
    return wide ? 2 * Font::kGlyphHeight : Font::kGlyphHeight;
}

bool WideAt(std::string_view packed, size_t widthsAt, uint32_t i) {
    return (uint8_t(packed[widthsAt + i / 8]) >> (i % 8)) & 1;
}

}  // namespace

std::string PackFont(const Font& font, std::vector<uint32_t> codepoints) {
    std::sort(codepoints.begin(), codepoints.end());
    codepoints.erase(std::unique(codepoints.begin(), codepoints.end()), codepoints.end());
    std::erase_if(codepoints, [&](uint32_t cp) { return cp >= kPlaneSize || !font.Find(cp); });

    const auto count = uint32_t(codepoints.size());
    std::string out(kMagic);
    PutLittle(out, count, 4);
    for (uint32_t cp : codepoints)
        PutLittle(out, cp, 2);
    std::string widths((count + 7) / 8, '\0');
    std::string bitmaps;
    for (size_t i = 0; i < codepoints.size(); ++i) {
        const Glyph& g = *font.Find(codepoints[i]);
        const bool wide = g.width == 16;
        if (wide) widths[i / 8] = char(uint8_t(widths[i / 8]) | (1u << (i % 8)));
        for (uint16_t row : g.rows) {
            bitmaps += char(row >> 8);
            if (wide) bitmaps += char(row & 0xFF);
        }
    }
    return out + widths + bitmaps;
}

bool UnpackFont(std::string_view packed, Font& font, std::string& error) {
    error = "the font asset is damaged";
    if (packed.size() < kHeaderSize || packed.substr(0, kMagic.size()) != kMagic) return false;
    const uint32_t count = GetLittle(packed, 4, 4);
    if (count > kPlaneSize) return false;
    const size_t widthsAt = kHeaderSize + 2 * size_t(count);
    const size_t bitmapsAt = widthsAt + (size_t(count) + 7) / 8;
    if (packed.size() < bitmapsAt) return false;
    // Checked whole before the font is touched.
    size_t expected = bitmapsAt;
    uint32_t previous = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t cp = GetLittle(packed, kHeaderSize + 2 * size_t(i), 2);
        if (i > 0 && cp <= previous) return false;
        previous = cp;
        expected += BitmapSize(WideAt(packed, widthsAt, i));
    }
    if (packed.size() != expected) return false;

    size_t at = bitmapsAt;
    for (uint32_t i = 0; i < count; ++i) {
        const bool wide = WideAt(packed, widthsAt, i);
        Glyph g;
        g.width = wide ? 16 : 8;
        for (auto& row : g.rows) {
            row = uint16_t(uint8_t(packed[at++]) << 8);
            if (wide) row = uint16_t(row | uint8_t(packed[at++]));
        }
        font.Add(GetLittle(packed, kHeaderSize + 2 * size_t(i), 2), g);
    }
    error.clear();
    return true;
}

}  // namespace kestran::platform::web
