// What follows a printed item, on the screen and in a file.
#pragma once

#include <cstdint>

namespace kestran {

// End: the item ends the line (CR LF, column back to 0). Comma: blanks up to the next print
// zone. Semicolon: nothing; the next item follows directly.
enum class PbSep : uint8_t { End = 0, Comma = 1, Semicolon = 2 };

// Width of a print zone: a comma moves to the next multiple of this column, a whole zone when
// the column already is one.
constexpr int kPrintZone = 14;

// Blanks a comma separator adds at `column` (counted from 0).
constexpr int PbZoneBlanks(int column) {
    return kPrintZone - column % kPrintZone;
}

}  // namespace kestran
