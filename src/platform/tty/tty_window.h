// The terminal window backend. This header is free of ncurses: the program chooses and opens the
// backend through it without seeing curses itself.
#pragma once

#include <memory>
#include <string>

#include "platform/window.h"

namespace kestran::platform::tty {

// Whether the game can run in this terminal: standard input and output are terminals.
bool TerminalAvailable();

struct TtyOptions {
    // For a player who listens through a screen reader: no braille; the screen's accessible text
    // (the corridor in words) where the picture would be; the cursor left at the start of the row
    // that changed last, or in the line being typed, since screen readers follow the cursor.
    bool screenReader = false;
    bool english = false;  // the terminal's own messages in English, not Japanese
};

// Takes over the terminal (UTF-8, raw keys, the 80x24 screen at its top left). Null, with the
// reason in `error`, when it cannot. The terminal is given back when the window is destroyed,
// at exit, and on the signals that end the process.
std::unique_ptr<Window> OpenTtyWindow(std::string& error, const TtyOptions& options = {});

}  // namespace kestran::platform::tty
