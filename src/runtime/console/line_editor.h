// The prompted line input: the prompt, then a line edited on the screen until Enter.
#pragma once

#include <source_location>
#include <string_view>

#include "runtime/values/sjis.h"

namespace kestran {

struct Runtime;

// INPUT with one string variable. Prompt kind 0 shows "? ", 1 the prompt as it stands, 2 the
// prompt and "? " (another kind: error 5). The line is edited at the cursor (insert and
// overwrite, Backspace, Delete, Left, Right, Home, End, Ctrl+E, Insert; Ctrl+O turns typed romaji
// into katakana until pressed again, for keyboards without an input method; Ctrl+X stops the
// program) and read as one field: blanks around it dropped, a quoted field without its quotes,
// an unquoted one ending at the first comma or colon. Bytes in `refusedBytes` are refused with
// a beep, like a character that would make the line too long.
PbString PbInputLine(Runtime& rt, int promptKind, std::string_view prompt, std::string_view refusedBytes = {},
                     std::source_location where = std::source_location::current());

// The field that one string variable takes from an input line.
PbString TakeStringField(std::string_view line);

}  // namespace kestran
