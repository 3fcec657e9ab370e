// Numbers: integer conversion, storing into single variables, the float checks, division,
// random numbers, the time of day and text-to-number conversion.
#pragma once

#include <cstdint>
#include <source_location>
#include <string_view>

namespace kestran {

struct Runtime;

// Rounds half away from zero to a whole double, exactly on every C library: one library's
// round() takes 0.49999999999999994 to 1. Not a number and infinities come back as they are.
double RoundHalfAwayFromZero(double x);

// Rounds half away from zero to a 32-bit integer (2.5 -> 3, -2.5 -> -3, -0.4 -> 0).
// Out of range or not a number: error 6 (site 0xE401).
int32_t PbToLong(double x, std::source_location where = std::source_location::current());
// The same for 16 bits: error 6 (site 0xE301).
int16_t PbToShort(double x, std::source_location where = std::source_location::current());

// INT: the largest whole number not above x (-0.5 -> -1). Never fails.
double PbInt(double x);

// The float checks after an arithmetic result: not a number is error 5 (0xE001), an infinite
// result error 6 (0xE003). Returns x.
double PbCheckFloat(double x, std::source_location where = std::source_location::current());

// Rounds a result to single precision for storing into a variable or numeric array element.
// Not a number: error 5 (0xE001); beyond the single range: error 6 (0xE003).
float PbStore(double x, std::source_location where = std::source_location::current());

// a / b. Division by zero: error 11 (0xE002); 0 / 0: error 5 (0xE001); overflow: error 6.
double PbDivide(double a, double b, std::source_location where = std::source_location::current());

// RND(x): a number in the open interval (0, 1). x > 0 steps the generator first; x = 0 repeats
// the last number; x < 0 (and -0) restarts the generator from x's bit pattern, then steps.
float PbRnd(Runtime& rt, double x = 1);
// RANDOMIZE n: the seed becomes seed XOR n.
void PbRandomize(Runtime& rt, uint32_t n);
// Seconds since local midnight (0 to 86,399) from the platform clock (the system clock when
// the runtime has none).
int32_t PbTimer(Runtime& rt);

// VAL: the number at the start of a text, 0 when there is none. Leading blanks are skipped; the
// number ends at the next blank. Decimal with exponent (E or D) and type mark (! # % &), or
// "&H" hexadecimal / "&O" octal. Too large for its type: error 6 (site 0x9F01).
double PbVal(std::string_view text, std::source_location where = std::source_location::current());

}  // namespace kestran
