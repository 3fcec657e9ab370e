// The string functions. Counts and positions are converted with PbToLong (half away from zero)
// and count bytes, except the *Chars functions, which count Shift-JIS characters.
#pragma once

#include <initializer_list>
#include <source_location>
#include <string_view>

#include "runtime/values/sjis.h"

namespace kestran {

// The largest length a string may have.
constexpr std::size_t kPbMaxStringLength = 2147483647;

// LEFT$: the first min(n, LEN s) bytes. n negative: error 5 (0x9901).
PbString PbLeft(std::string_view s, double n, std::source_location where = std::source_location::current());
// MID$: `length` bytes from byte `start` (1-based), cut at the end; "" when start > LEN s.
// start below 1 or length negative: error 5 (0x9A01).
PbString PbMid(std::string_view s, double start, double length,
               std::source_location where = std::source_location::current());
// MID$ without a length: from byte `start` to the end.
PbString PbMid(std::string_view s, double start, std::source_location where = std::source_location::current());
// RIGHT$: the last min(n, LEN s) bytes. n negative: error 5 (0x9B01).
PbString PbRight(std::string_view s, double n, std::source_location where = std::source_location::current());
// The first n characters; a lone lead byte at the end counts as one. n negative: 5 (0x7501).
PbString PbLeftChars(std::string_view s, double n, std::source_location where = std::source_location::current());
// The last n characters, counted from the front. n negative: error 5 (0x7801).
PbString PbRightChars(std::string_view s, double n, std::source_location where = std::source_location::current());

// The MID$ statement: overwrites min(length, LEN s, LEN target - position + 1) bytes of target
// from byte `position`; target's length never changes. length 0 does nothing. position below 1
// or length negative: error 5 (0x8201); position beyond LEN target: error 5 (0x8202).
void PbMidAssign(PbString& target, double position, double length, std::string_view s,
                 std::source_location where = std::source_location::current());
// The MID$ statement without a length (as many bytes of s as fit).
void PbMidAssign(PbString& target, double position, std::string_view s,
                 std::source_location where = std::source_location::current());

// CHR$: one byte per code. A code outside 0..255: error 5 (0x9201).
PbString PbChr(double code, std::source_location where = std::source_location::current());
PbString PbChr(std::initializer_list<double> codes, std::source_location where = std::source_location::current());

// a followed by b. Longer than 2^31 - 1 bytes: error 15 (0xC401).
PbString PbConcat(std::string_view a, std::string_view b, std::source_location where = std::source_location::current());

// Byte-wise unsigned comparison; a proper prefix is smaller. -1, 0 or 1.
int PbCompare(std::string_view left, std::string_view right);

}  // namespace kestran
