// Keyboard translation of the SDL backend: SDL key presses to the program's key events.
#pragma once

#include <SDL.h>

#include <optional>

#include "platform/window.h"

namespace kestran::platform::sdl {

// Keys the window handles itself and never hands to the program.
enum class WindowCommand { None, ToggleFullscreen, CopyText, SaveScreenshot };
WindowCommand CommandOfKey(const SDL_Keysym& key);

// The event a key press gives: a KeyDown for the named keys (arrows, Home, End, PgUp, PgDn,
// Insert, Delete, Clear, F1-F12, Shift, Ctrl), a Character for Enter, Backspace, Tab, Esc,
// Ctrl+letter and - when `printableAsCharacter` - for printable keys. Nothing for other keys.
std::optional<Event> TranslateKeyDown(const SDL_Keysym& key, bool printableAsCharacter);

// The KeyUp of a named key (the console follows Shift and Ctrl), or nothing.
std::optional<Event> TranslateKeyUp(const SDL_Keysym& key);

}  // namespace kestran::platform::sdl
