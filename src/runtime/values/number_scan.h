// The number reader shared by VAL and the file input of numeric fields.
#pragma once

#include <cstddef>
#include <string_view>

namespace kestran {

// The smallest magnitude that rounds to infinity as a single: the largest single plus half its
// last step (a tie rounds to the even neighbour, which is infinity).
constexpr double kSingleOverflow = 0x1.ffffffp+127;

struct ScannedNumber {
    bool isNumber = false;   // the text starts with a number
    bool tooLarge = false;   // the value does not fit its type
    std::size_t length = 0;  // bytes that belong to the number
    double value = 0;        // rounded to its type (single, double, 16 or 32 bits)
};

// Reads the number at the start of `text` (no blanks skipped): sign, digits, decimal point,
// exponent (E single, D double), type mark (! single, # double, % 16-bit, & 32-bit); or "&H"
// hexadecimal / "&O" octal, which are 16-bit two's complement up to &HFFFF and 32-bit up to
// &HFFFFFFFF. An unmarked decimal of up to 7 digits is a single, a longer one a double.
// A number starts with a digit, a sign followed by a digit or point, a point followed by a digit,
// or "&H"/"&O"; reading stops at the first byte that does not fit.
ScannedNumber ScanPbNumber(std::string_view text);

}  // namespace kestran
