// Romaji typed on a keyboard without an input method, turned into katakana as each syllable
// completes: "ka" gives カ, "kya" キャ, a doubled consonant the small ッ, "n" before a consonant
// (or "nn", "n'") ン, "-" the long-vowel mark ー. Letters of either case; the kana come out as
// Shift-JIS.
#pragma once

#include <string_view>

#include "runtime/values/sjis.h"

namespace kestran {

struct RomajiConversion {
    PbString kana;     // the syllables completed, in Shift-JIS, with any letters that can begin none
    PbString pending;  // the letters still waiting for the rest of their syllable
};

// Converts as much of `typed` (ASCII) as forms whole syllables. With `finished`, the typing is
// over: a lone "n" becomes ン and letters that began no syllable are kept as they were typed.
RomajiConversion ConvertRomaji(std::string_view typed, bool finished);

// The bytes the converter takes: ASCII letters, "-" and the apostrophe that closes an "n".
bool IsRomajiByte(char c);

}  // namespace kestran
