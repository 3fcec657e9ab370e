// The text screen operations the game calls: clearing, the cursor and printing.
#pragma once

#include <initializer_list>
#include <source_location>
#include <string_view>

#include "runtime/values/print_item.h"

namespace kestran {

struct Runtime;

// CLS: mode 0 clears every row and the picture, 1 the console lines, 2 the rows above them,
// 3 the rows below them, 4 every row but not the picture, 5 only the picture. The cursor goes
// to column 0 of the first cleared row. A mode outside 0 to 5: error 5.
void PbCls(Runtime& rt, double mode = 0, std::source_location where = std::source_location::current());

// LOCATE: mask bit 0 = x given, bit 1 = y given, bit 2 = cursor switch given. x outside 0-79,
// y outside 0-23 or a switch other than 0 or 1: error 5.
void PbLocate(Runtime& rt, double x, double y, double cursorSwitch, int mask,
              std::source_location where = std::source_location::current());
// LOCATE x, y: the cursor to column x, row y.
void PbLocate(Runtime& rt, double x, double y, std::source_location where = std::source_location::current());

// PRINT of a string item and its separator.
void PbPrintString(Runtime& rt, std::string_view s, PbSep sep,
                   std::source_location where = std::source_location::current());
// PRINT of a single variable (6 digits) ...
void PbPrintNumber(Runtime& rt, float v, PbSep sep, std::source_location where = std::source_location::current());
// ... and of an expression's value (15 digits).
void PbPrintNumber(Runtime& rt, double v, PbSep sep, std::source_location where = std::source_location::current());
// PRINT USING: the items through the "#" fields of the picture; `last` ends the statement.
void PbPrintUsing(Runtime& rt, std::string_view picture, std::initializer_list<double> items, PbSep last,
                  std::source_location where = std::source_location::current());

}  // namespace kestran
