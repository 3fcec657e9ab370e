// Keyboard input of the terminal backend: what the terminal reports, as the program's events.
// Free of ncurses: function keys arrive by their curses key names (keyname()), characters as
// code points, so that the decoding is tested without a terminal.
#pragma once

#include <optional>
#include <string_view>

#include "platform/window.h"

namespace kestran::platform::tty {

// A typed character: Enter (CR, also LF) 13, Backspace (BS, also DEL) 8, other control codes
// (Ctrl+C 3, Ctrl+E 5, Ctrl+X 24, Esc 27, Tab 9) and printable ASCII as their byte; anything
// beyond ASCII as UTF-8 text, which the console turns into Shift-JIS. Nothing for C1 controls
// and code points that are no characters.
std::optional<Event> DecodeCharacter(char32_t c);

// A function key by its curses name: "KEY_UP", "KEY_SLEFT", "KEY_F(5)", "KEY_DC", the keypad's
// "KEY_A1".."KEY_C3", and the extended names with modifier digits ("kUP5" is Ctrl+Up; a bare
// "kUP" is Shift+Up). Function keys 13 to 60 are F1-F12 with modifiers, as xterm numbers them.
// Nothing for keys the program has no use for (mouse, resize, unknown names).
std::optional<Event> DecodeKeyName(std::string_view name);

}  // namespace kestran::platform::tty
