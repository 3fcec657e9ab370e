// Key scripts: the notation in which keys are typed to the headless window, traced and
// recorded, and the window decorator that records what a player types.
//
// Every character of a script is one key; line breaks are ignored; UTF-8 text outside ASCII is
// typed as its Shift-JIS bytes; braces name keys: {Enter} {Esc} {BS} {Tab} {Del} {Ins} {Up}
// {Down} {Left} {Right} {Home} {End} {PgUp} {PgDn} {F1}..{F12} {Ctrl-C} {Close}, {xHH} is the
// byte HH and "{{" a brace. In a key file a line starting with '#' is a comment; "#seed N"
// names the seed the script was recorded with.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"
#include "platform/window_decorator.h"

namespace kestran::platform {

// Converts one UTF-8 character to its Shift-JIS bytes; false when it has none. The platform
// layer has no code page of its own: the program hands in the runtime's.
using Utf8CharToSjis = std::function<bool(std::string_view utf8Char, std::string& sjis)>;

struct KeyScript {
    std::vector<Event> keys;
    std::optional<uint32_t> seed;  // from a "#seed N" line
    std::string language;          // from a "#language LANG" line: the language it was played in
};

// Parses a script. `isFile`: '#' lines are comments. On a fault (an unknown key name, an
// unclosed brace, text that is not UTF-8 or has no Shift-JIS form) returns false with a
// message naming the line.
bool ParseKeyScript(std::string_view text, bool isFile, const Utf8CharToSjis& encode, KeyScript& out,
                    std::string& error);

// The script notation of an event: a printable ASCII byte as itself ("{{" for a brace), a named
// key in braces, another byte as {xHH}. Empty for an event no script can type.
std::string KeyNotation(const Event& event);

// One entry of a trace: "@@ N KEY" and the 24 rows of the screen, each ending in "\n"; then, when
// `accessibleText` is given and not empty, the line "@@ TEXT " and that text (line breaks in it
// written as blanks).
void WriteTraceEntry(std::ostream& out, int wait, const Event& key, const std::array<std::string, kTextRows>& rows,
                     const std::string* accessibleText = nullptr);

// The script text that types `event` again, empty for an event no script needs (a key released,
// a repaint). `shiftHeld` follows the Shift key across calls.
std::string RecordedNotation(const Event& event, bool& shiftHeld, const Utf8CharToSjis& encode);

// A window that passes everything to `inner` and writes the keys the program receives as a key
// script that replays them: "#seed N" first, a line break after each Enter.
class RecordingWindow final : public WindowDecorator {
public:
    // `language`, when not empty, is noted as "#language LANG" under the seed.
    RecordingWindow(Window& inner, std::ostream& out, uint32_t seed, Utf8CharToSjis encode,
                    std::string_view language = {});

private:
    void Observe(const Event& event) override;

    std::ostream& out_;
    Utf8CharToSjis encode_;
    bool shift_ = false;
};

}  // namespace kestran::platform
