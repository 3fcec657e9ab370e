#include "platform/tty/tty_session.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kestran::platform::tty {

namespace {

// The handlers run on any thread at any moment, so what they touch is plain global state.
std::atomic<bool> gCursesActive = false;
std::atomic<bool> gInterrupted = false;
std::atomic<bool> gResized = false;
static_assert(std::atomic<bool>::is_always_lock_free);
int gWake[2] = {-1, -1};
SCREEN* gScreen = nullptr;

// Signals that end the process: the terminal is given back first, then the signal does what it
// did before (a sanitizer's report, a core dump, the end).
constexpr std::array kEndingSignals = {SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
// Signals that only wake the window.
constexpr std::array kWakingSignals = {SIGINT, SIGWINCH};

struct SavedAction {
    int signal = 0;
    struct sigaction action {};
};
std::array<SavedAction, kEndingSignals.size() + kWakingSignals.size()> gSaved{};
size_t gSavedCount = 0;

void GiveBackTerminal() {
    if (gCursesActive.exchange(false)) endwin();
}

// What an ending signal writes to give the terminal back. endwin() may not run in a handler: the
// signal may land inside curses (a redraw blocked on a slow terminal), whose buffers and state are
// then half changed. So the handler uses only write() and tcsetattr(), with what Start() prepared:
// CAN first, which ends an escape sequence the signal cut short, then the terminal type's own
// sequences for plain attributes, a visible cursor, the keypad's normal mode and the main screen.
struct SignalRestore {
    std::array<char, 256> bytes{};
    size_t length = 0;
    struct termios modes {};
    bool haveModes = false;
};
SignalRestore gSignalRestore;

// A capability's bytes without its padding ("$<5>"), which only tputs() understands.
void AppendCapability(SignalRestore& r, const char* name) {
    const char* value = tigetstr(name);
    if (value == nullptr || value == reinterpret_cast<char*>(-1)) return;
    std::string bytes;
    for (const char* c = value; *c; ++c) {
        const char* close = c[0] == '$' && c[1] == '<' ? std::strchr(c, '>') : nullptr;
        if (close) {
            c = close;
        } else {
            bytes += *c;
        }
    }
    if (r.length + bytes.size() > r.bytes.size()) return;
    std::memcpy(r.bytes.data() + r.length, bytes.data(), bytes.size());
    r.length += bytes.size();
}

void PrepareSignalRestore(const struct termios* shellModes) {
    SignalRestore r;
    r.bytes[r.length++] = '\x18';
    for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"})
        AppendCapability(r, name);
    if (shellModes) {
        r.modes = *shellModes;
        r.haveModes = true;
    }
    gSignalRestore = r;
}

void GiveBackTerminalInHandler() {
    if (!gCursesActive.exchange(false)) return;
    const SignalRestore& r = gSignalRestore;
    for (size_t done = 0; done < r.length;) {
        const ssize_t n = write(STDOUT_FILENO, r.bytes.data() + done, r.length - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            break;
        }
    }
    if (r.haveModes) tcsetattr(STDIN_FILENO, TCSANOW, &r.modes);
}

void RestoreAction(int signal) {
    for (size_t i = 0; i < gSavedCount; ++i) {
        if (gSaved[i].signal == signal) sigaction(signal, &gSaved[i].action, nullptr);
    }
}

void OnEndingSignal(int signal) {
    GiveBackTerminalInHandler();
    RestoreAction(signal);
    // Delivered once this handler returns (a fault: the instruction faults again).
    raise(signal);
}

void OnWakingSignal(int signal) {
    const int savedErrno = errno;
    if (signal == SIGINT) gInterrupted = true;
    if (signal == SIGWINCH) gResized = true;
    if (gWake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const auto written = write(gWake[1], &byte, 1);
    }
    errno = savedErrno;
}

void AtExit() {
    GiveBackTerminal();
}

void Install(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    SavedAction& saved = gSaved[gSavedCount++];
    saved.signal = signal;
    sigaction(signal, &action, &saved.action);
}

void RemoveHandlers() {
    for (size_t i = 0; i < gSavedCount; ++i)
        sigaction(gSaved[i].signal, &gSaved[i].action, nullptr);
    gSavedCount = 0;
}

bool Utf8Locale() {
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

// The terminal shows UTF-8: the locale's, or C.UTF-8 when the locale names another encoding.
bool UseUtf8() {
    if (std::setlocale(LC_CTYPE, "") && Utf8Locale()) return true;
    return std::setlocale(LC_CTYPE, "C.UTF-8") && Utf8Locale();
}

void CloseWake() {
    for (int& fd : gWake) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

// Sequences that terminals send for the cursor and editing keys whatever their terminal type
// says (tmux sends ESC [1~ for Home under any TERM); the type's own sequences come first.
struct KeySequence {
    const char* sequence;
    int key;
};
const KeySequence kCommonSequences[] = {
    {"\033[A", KEY_UP},     {"\033[B", KEY_DOWN},    {"\033[C", KEY_RIGHT},   {"\033[D", KEY_LEFT},
    {"\033OA", KEY_UP},     {"\033OB", KEY_DOWN},    {"\033OC", KEY_RIGHT},   {"\033OD", KEY_LEFT},
    {"\033[H", KEY_HOME},   {"\033[F", KEY_END},     {"\033OH", KEY_HOME},    {"\033OF", KEY_END},
    {"\033[1~", KEY_HOME},  {"\033[4~", KEY_END},    {"\033[7~", KEY_HOME},   {"\033[8~", KEY_END},
    {"\033[2~", KEY_IC},    {"\033[3~", KEY_DC},     {"\033[5~", KEY_PPAGE},  {"\033[6~", KEY_NPAGE},
    {"\033OP", KEY_F(1)},   {"\033OQ", KEY_F(2)},    {"\033OR", KEY_F(3)},    {"\033OS", KEY_F(4)},
    {"\033[11~", KEY_F(1)}, {"\033[12~", KEY_F(2)},  {"\033[13~", KEY_F(3)},  {"\033[14~", KEY_F(4)},
    {"\033[15~", KEY_F(5)}, {"\033[17~", KEY_F(6)},  {"\033[18~", KEY_F(7)},  {"\033[19~", KEY_F(8)},
    {"\033[20~", KEY_F(9)}, {"\033[21~", KEY_F(10)}, {"\033[23~", KEY_F(11)}, {"\033[24~", KEY_F(12)},
};

void DefineCommonKeys() {
    for (const auto& k : kCommonSequences) {
        if (key_defined(k.sequence) == 0) define_key(k.sequence, k.key);
    }
}

void SetUpCurses() {
    raw();  // Ctrl+C, Ctrl+Z, Ctrl+S and Ctrl+Q reach the game as characters
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    DefineCommonKeys();
    set_escdelay(25);  // a lone Esc is a key of its own, not the start of a sequence
    nodelay(stdscr, TRUE);
    intrflush(stdscr, FALSE);
    curs_set(0);
    if (has_colors()) start_color();
}

}  // namespace

bool Session::Start(std::string& error) {
    if (started_) return true;
    if (!UseUtf8()) {
        error = "the terminal cannot be switched to UTF-8";
        return false;
    }
    if (pipe2(gWake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("no wake pipe: ") + std::strerror(errno);
        return false;
    }
    // Installed before curses starts, so that curses keeps its own hands off these signals.
    for (int s : kEndingSignals)
        Install(s, OnEndingSignal);
    for (int s : kWakingSignals)
        Install(s, OnWakingSignal);
    struct termios shellModes {};
    const bool haveShellModes = tcgetattr(STDIN_FILENO, &shellModes) == 0;
    gScreen = newterm(nullptr, stdout, stdin);
    if (!gScreen) {
        const char* term = std::getenv("TERM");
        error = std::string("the terminal type ") + (term ? term : "(TERM is not set)") + " is unknown";
        RemoveHandlers();
        CloseWake();
        return false;
    }
    PrepareSignalRestore(haveShellModes ? &shellModes : nullptr);
    gCursesActive = true;
    static const bool atExitInstalled = std::atexit(AtExit) == 0;
    (void)atExitInstalled;
    SetUpCurses();
    started_ = true;
    return true;
}

void Session::End() {
    if (!started_) return;
    started_ = false;
    GiveBackTerminal();
    RemoveHandlers();
    delscreen(gScreen);
    gScreen = nullptr;
    CloseWake();
    gInterrupted = false;
    gResized = false;
}

void Session::Suspend() {
    GiveBackTerminal();
}

void Session::Resume() {
    if (!started_ || gCursesActive) return;
    gCursesActive = true;
    clearok(curscr, TRUE);
    refresh();
}

int Session::wakeFd() const {
    return gWake[0];
}

Session::Wakes Session::TakeWakes() {
    char buffer[64];
    while (gWake[0] >= 0 && read(gWake[0], buffer, sizeof buffer) > 0) {
    }
    Wakes wakes;
    wakes.interrupt = gInterrupted.exchange(false);
    wakes.resize = gResized.exchange(false);
    return wakes;
}

}  // namespace kestran::platform::tty
