// The font asset of the browser page: chosen glyphs of a Font in a compact binary form, packed
// when the page is built and unpacked by the page at start, so that the page loads a few
// hundred kilobytes instead of the whole Unifont file.
//
// Layout (little-endian): "KFN2", the glyph count N (4 bytes); the N code points, strictly
// increasing, as steps from the one before (the first from 0): the low bytes of all N steps, then
// their high bytes; N width bits (bit i of byte i/8 set: glyph i is 16 pixels wide); then the
// bitmaps in code point order, each part of its own: the 16 row bytes of every narrow glyph, the
// 16 left row bytes of every wide glyph, then their 16 right row bytes. Like with like, so that
// the page's compression finds more to share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font.h"

namespace kestran::platform::web {

// The glyphs of `codepoints` that `font` has, packed. Code points it lacks, or beyond the Basic
// Multilingual Plane, are left out; the order and repeats of `codepoints` do not matter.
std::string PackFont(const Font& font, std::vector<uint32_t> codepoints);

// Adds the glyphs of a packed font to `font`. False, with the reason and `font` unchanged, when
// `packed` is not a whole packed font.
bool UnpackFont(std::string_view packed, Font& font, std::string& error);

}  // namespace kestran::platform::web
