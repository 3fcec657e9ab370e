// The curses session of the terminal backend and every way out of it: the terminal is given
// back at the session's end, at exit, and on the signals that end the process (which then end
// it as they would have). Ctrl+C from outside (SIGINT) and resizes (SIGWINCH) wake the window's
// wait instead.
#pragma once

#include <string>

namespace kestran::platform::tty {

class Session {
public:
    // Switches LC_CTYPE to UTF-8, installs the signal handlers and starts curses in raw mode.
    // False, with the reason, when the terminal cannot be used; the terminal and the signal
    // handlers are then left as they were.
    bool Start(std::string& error);
    ~Session() { End(); }

    // Gives the terminal back and removes the handlers; safe to call more than once.
    void End();

    // Leaves curses mode for a moment (the next screen update comes back to it).
    void Suspend();
    void Resume();

    // The descriptor that becomes readable when a signal wants the window's attention.
    int wakeFd() const;
    // Empties the wake descriptor; returns the signals seen since the last call.
    struct Wakes {
        bool interrupt = false;
        bool resize = false;
    };
    Wakes TakeWakes();

private:
    bool started_ = false;
};

}  // namespace kestran::platform::tty
