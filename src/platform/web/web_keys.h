// Keyboard translation of the browser backend: the page's key events (the DOM's KeyboardEvent
// `key` and `code` strings and its modifiers) to the program's key events, by the same rules as
// the SDL window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace kestran::platform::web {

struct DomKey {
    std::string_view key;   // KeyboardEvent.key: "a", "A", "Enter", "ArrowUp", "F5", "ア", ...
    std::string_view code;  // KeyboardEvent.code: "KeyA", "Numpad8", ...
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool meta = false;
};

// Keys the page handles itself and never hands to the program (as the window does).
enum class PageCommand { None, ToggleFullscreen, CopyText, SaveScreenshot };
PageCommand CommandOfDomKey(const DomKey& key);

// The event a key press gives: a KeyDown for the named keys (arrows, Home, End, PgUp, PgDn,
// Insert, Delete, Clear, F1-F12, Shift, Ctrl), a Character for Enter, Backspace, Tab, Esc and
// Ctrl+letter, a Character for a printable ASCII key and Text for another printable key (the
// runtime turns it into Shift-JIS or refuses it). Nothing for other keys (modifiers the program
// does not follow, dead keys, the input method's keys), which the page leaves to the browser.
std::optional<Event> TranslateDomKeyDown(const DomKey& key);

// The KeyUp of a named key (the console follows Shift and Ctrl), or nothing.
std::optional<Event> TranslateDomKeyUp(const DomKey& key);

// Text typed where the game reads single keys, with full-width ASCII (U+FF01-U+FF5E) and the
// ideographic space folded back to ASCII: a phone's Japanese keyboard commits "ｙ" for the key Y.
// Other characters are kept.
std::string FoldFullWidthAscii(std::string_view utf8);

}  // namespace kestran::platform::web
