// The text form of numbers: what PRINT writes on the screen and into files, and PRINT USING.
#pragma once

#include <source_location>
#include <span>
#include <string_view>

#include "runtime/values/sjis.h"

namespace kestran {

// How the sign of a number's text is written.
enum class SignStyle {
    Always = 0,        // "+" or "-"
    MinusOnly = 1,     // "-" for negative values, nothing otherwise
    BlankOrMinus = 2,  // "-" for negative values, a blank otherwise (PRINT)
};

// A single-precision value to 6 significant digits; exponent form with "E" ("1E+06").
PbString PbNumberText(float v, SignStyle style = SignStyle::BlankOrMinus);
// A double-precision value (an expression's value) to 15 significant digits; exponent with "D".
PbString PbNumberText(double v, SignStyle style = SignStyle::BlankOrMinus);

// What PRINT writes for a number item: the blank-or-minus text and one trailing blank
// (5 -> " 5 ", -3 -> "-3 ").
PbString PbPrintedNumber(float v);
PbString PbPrintedNumber(double v);

// PRINT USING with a picture of "#" fields and literal text: each item fills the next field,
// rounded half away from zero to a whole number and right-aligned; a number wider than its
// field is printed whole after a "%". Literal text before a field and after the last item's
// field (up to the next field) is kept. More items than fields start the picture again.
// A picture without any "#" field cannot take an item: error 5 (site 0x6102).
PbString PbFormatUsing(std::string_view picture, std::span<const double> items,
                       std::source_location where = std::source_location::current());

}  // namespace kestran
