// The console: text screen, key ring, line editor and picture of the main window.
#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <utility>

#include "platform/window.h"
#include "runtime/console/compositor.h"
#include "runtime/console/key_buffer.h"
#include "runtime/console/picture.h"
#include "runtime/console/text_screen.h"
#include "runtime/values/print_item.h"
#include "runtime/values/sjis.h"

namespace kestran {

struct Runtime;

// The window's private data. The Pb operations (screen.h, keyboard.h, line_editor.h,
// graphics.h) check their arguments and call the members here, which do not.
class Console {
public:
    Console();

    // Back to the state of a new console (blank screen, empty ring, black picture), keeping the
    // memory of the picture and the compositor. What the compositor caches stays right: it is
    // keyed by the cells it was made from, and every row is marked to be composed again.
    void Reset() { *this = Console(std::move(picture), std::move(compositor_)); }

    // Takes one window event (a key, a character, typed text, focus, expose) into the
    // console's state: key codes go into the ring, Ctrl+C and F1-F12 raise their events.
    void HandleEvent(Runtime& rt, const platform::Event& event);
    void ClearKeys() { keys.Clear(); }

    // Composes what changed and shows the frame in the window (when there is one that looks at
    // frames).
    void Present(Runtime& rt);

    // Writes bytes at the cursor: CR and LF move the cursor, other bytes fill cells, wrapping
    // at the right edge without splitting a double-byte character and scrolling the console
    // lines at their bottom.
    void WriteText(std::string_view bytes);
    // Prints one item and its separator: a new line first when it does not fit in the rest of
    // the line, tabs expanded, then the separator's line end or print zone.
    void PrintItem(std::string_view item, PbSep sep);
    // Moves the cursor one row down, scrolling the console lines when it is on their last one.
    void NextRow();
    // Clears text rows [first, last) to blanks in the current colour and attribute.
    void ClearRows(int first, int last);
    // Stores one byte in a cell in the current colour and attribute.
    void PutCell(int row, int column, uint8_t byte, CellKind kind);

    void MarkRowDirty(int row) { dirty_.set(size_t(row)); }
    void MarkAllDirty() { dirty_.set(); }
    // Marks the text rows that cover picture rows [top, bottom] (clipped to the picture).
    void MarkPixelRowsDirty(int64_t top, int64_t bottom);

    const Compositor& compositor() const { return *compositor_; }

    TextGrpData text;
    ScreenBuffer screen;
    KeyBuffer keys;
    Picture picture;
    std::array<PbString, 12> functionKeyTexts;  // what F1-F12 type; empty unless assigned
    bool hasAccessibleText = false;             // the window holds a text (accessible_text.h)

private:
    Console(Picture keptPicture, std::unique_ptr<Compositor> keptCompositor);

    void WriteRun(std::string_view run);
    void StorePiece(std::string_view piece);
    void AdvanceCursor(int cells);
    void ScrollConsole();
    void PutKey(Runtime& rt, uint8_t code);
    void HandleKeyDown(Runtime& rt, const platform::Event& event);

    DirtyRows dirty_;
    std::unique_ptr<Compositor> compositor_;  // apart, so that a reset does not copy its rows
};

}  // namespace kestran
