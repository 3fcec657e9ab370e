// The window a backend gives the console: it shows composed frames and delivers input events.
// Backends only move pixels and events; the console owns the cells, the picture and the key ring.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestran::platform {

// Keys that reach the program as key-down and key-up events. Characters (letters, digits,
// Enter, Backspace, Esc, Tab, Ctrl+letter) come as character events instead.
enum class Key : uint8_t {
    Other,
    Left,
    Up,
    Right,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Insert,
    Delete,
    Clear,
    Execute,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    Shift,
    Ctrl,
};

struct Event {
    enum class Kind : uint8_t {
        KeyDown,      // key, shift, ctrl
        KeyUp,        // key
        Character,    // byte: one character byte as typed (a Shift-JIS pair comes as two events)
        Text,         // text: typed UTF-8 text (input method, desktop text input)
        Close,        // the user asked to close the window (close box, end of a key script)
        Expose,       // the window must be repainted whole
        FocusGained,  // the window has the keyboard focus
        FocusLost,
    };
    Kind kind = Kind::Expose;
    Key key = Key::Other;
    bool shift = false;
    bool ctrl = false;
    uint8_t byte = 0;
    std::string text;

    static Event KeyDown(Key k, bool shiftHeld = false, bool ctrlHeld = false) {
        Event e;
        e.kind = Kind::KeyDown;
        e.key = k;
        e.shift = shiftHeld;
        e.ctrl = ctrlHeld;
        return e;
    }
    static Event KeyUp(Key k) {
        Event e;
        e.kind = Kind::KeyUp;
        e.key = k;
        return e;
    }
    static Event Character(uint8_t b) {
        Event e;
        e.kind = Kind::Character;
        e.byte = b;
        return e;
    }
    static Event Text(std::string utf8) {
        Event e;
        e.kind = Kind::Text;
        e.text = std::move(utf8);
        return e;
    }
    static Event Of(Kind k) {
        Event e;
        e.kind = k;
        return e;
    }
};

constexpr int kTextColumns = 80;
constexpr int kTextRows = 24;

// One text cell as composed, for backends that draw the text themselves (the terminal).
struct TextCell {
    uint32_t ch = ' ';    // Unicode; 0 on the second cell of a double-byte character
    uint32_t ink = 0;     // 0x00RRGGBB of the character
    uint32_t paper = 0;   // 0x00RRGGBB filled behind it when `opaque`
    bool opaque = false;  // a reverse cell; otherwise the picture shows around the character
};
using TextCells = std::array<std::array<TextCell, kTextColumns>, kTextRows>;

// How a frame's pixels lie in memory: 0x00RRGGBB words, or the bytes R, G, B, 255 of a browser
// canvas's image data, which a window that draws into one takes as they are.
enum class PixelLayout { Xrgb, Rgba };

// One composed frame, as the console hands it to the backend.
struct FrameView {
    const uint32_t* pixels = nullptr;  // in `layout`, row-major, `width` pixels per row
    PixelLayout layout = PixelLayout::Xrgb;
    int width = 0;
    int height = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    int dirtyTop = 0;     // pixel rows [dirtyTop, dirtyBottom) changed since the last frame
    int dirtyBottom = 0;  // presented; empty when dirtyTop == dirtyBottom
    // The 24 text rows as UTF-8, each without trailing blanks (clipboard, trace, terminal).
    const std::array<std::string, kTextRows>* textRows = nullptr;
    // The same rows cell by cell, a character of n Shift-JIS bytes covering n cells.
    const TextCells* textCells = nullptr;
    uint32_t background = 0;  // the window's background colour: picture pixels with nothing drawn
    int cursorColumn = 0;
    int cursorRow = 0;
    bool cursorVisible = false;
};

// The screen's text for the clipboard (the windows' Ctrl+Shift+C): the rows that hold anything,
// joined with "\n".
std::string ScreenText(const std::array<std::string, kTextRows>& rows);

// The code points of UTF-8 text; a malformed byte becomes U+FFFD.
std::vector<uint32_t> DecodeUtf8Text(const std::string& text);

class Window {
public:
    virtual ~Window() = default;

    // Shows a frame. Called before every blocking wait and whenever the console wants the
    // screen brought up to date.
    virtual void Present(const FrameView& frame) = 0;

    // Blocks until the next event (true) or until timeoutMs passes (false); -1 waits forever.
    // This is how the program waits for a key: the headless backend types its next scripted
    // key here.
    virtual bool WaitEvent(Event& event, int timeoutMs) = 0;

    // Takes an already waiting event without blocking (the message pump).
    virtual bool PollEvent(Event& event) = 0;

    virtual void Beep() = 0;

    // Text input (the input method) is on only during the line input; `column`, `row` is the
    // cell where its composition is shown.
    virtual void SetTextInput(bool on, int column, int row) = 0;

    // Shows a message box with the stop or exclamation icon, or writes it to the terminal.
    virtual void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) = 0;

    // Shows a line about the session that is no part of the game's 80x24 screen (the state of a
    // watched replay) outside that screen: in the window's title, on the terminal's row below
    // it. Empty takes the line away. Windows with nowhere to show it ignore it.
    virtual void ShowStatus(const std::string& /*lineUtf8*/) {}

    // A short text (UTF-8) that says in words what the current screen shows as a picture; empty
    // when the screen has none. Each call brings a new text, also one that reads like the text
    // before; it holds until the next call. A window presents it (speaks it, shows it in words) or
    // ignores it, as this default does.
    virtual void SetAccessibleText(const std::string& /*utf8*/) {}

    // False when the window never looks at the pixels of a frame (a headless run that writes no
    // picture): frames then come without them, and composing them is saved.
    virtual bool WantsPixels() const { return true; }
    // The layout of the pixels the window is given.
    virtual PixelLayout WantedLayout() const { return PixelLayout::Xrgb; }
    // False when the window never looks at a frame, not even at its text (a fuzz target's
    // window, which only types keys): frames are then neither composed nor presented.
    virtual bool WantsFrames() const { return true; }
};

}  // namespace kestran::platform
