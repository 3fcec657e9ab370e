// The SDL window, end to end: the real program in an X server of its own (Xvfb), driven the way
// a player drives it - keys, the text copied to the clipboard, the close box.
#include <gtest/gtest.h>

#if defined(KESTRAN_PROGRAM) && __has_include(<X11/Xlib.h>)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"

namespace kestran::testing {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        if (access((rest.substr(0, colon) + "/" + program).c_str(), X_OK) == 0) return true;
        if (colon == std::string::npos) break;
        rest.erase(0, colon + 1);
    }
    return false;
}

// An Xvfb of the test's own; -displayfd tells which display number it took.
std::optional<std::string> StartXvfb(Child& server) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    const bool started = server.Start(
        {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, fds[1]);
    close(fds[1]);
    std::string number;
    char c = 0;
    pollfd answer{fds[0], POLLIN, 0};
    while (started && poll(&answer, 1, 20000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) return std::nullopt;
    return ":" + number;
}

class X11Driver {
public:
    explicit X11Driver(Display* display) : display_(display) {
        current_ = this;
        previous_ = XSetErrorHandler(&X11Driver::NoteError);
        own_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(display_, "CLIPBOARD", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        property_ = XInternAtom(display_, "KESTRAN_TEST", False);
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
    }
    ~X11Driver() {
        XSetErrorHandler(previous_);
        current_ = nullptr;
    }
    X11Driver(const X11Driver&) = delete;
    X11Driver& operator=(const X11Driver&) = delete;

    // The viewable top-level window of process `pid`, or 0. A listing on which a window has
    // vanished is stale, so the search then starts over.
    Window FindWindow(pid_t pid) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (const auto found = FindAmong(TopLevelWindows(), pid)) return *found;
        }
        return 0;
    }

    std::vector<Window> TopLevelWindows() {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        std::vector<Window> windows;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
            windows.assign(children, children + count);
        if (children) XFree(children);
        return windows;
    }

    // Process `pid`'s viewable window among `windows` (0 for none), or nothing when one of them
    // vanished while it was asked about.
    std::optional<Window> FindAmong(const std::vector<Window>& windows, pid_t pid) {
        XSync(display_, False);  // errors of earlier requests are not this search's
        const unsigned long before = errors_;
        Window found = 0;
        for (size_t i = 0; i < windows.size() && !found; ++i) {
            XWindowAttributes attributes;
            if (WindowPid(windows[i]) == pid && XGetWindowAttributes(display_, windows[i], &attributes) &&
                attributes.map_state == IsViewable) {
                found = windows[i];
            }
        }
        XSync(display_, False);
        if (errors_ != before) return std::nullopt;
        return found;
    }

    // The protocol errors seen on this connection so far.
    unsigned long errors() const { return errors_; }

    void Key(Window target, KeySym symbol, unsigned state = 0) {
        SendKey(target, symbol, state, KeyPress);
        SendKey(target, symbol, state, KeyRelease);
    }

    // Ctrl+Shift+`symbol`, with the modifier keys pressed around it as a player would.
    void CtrlShift(Window target, KeySym symbol) {
        SendKey(target, XK_Control_L, 0, KeyPress);
        SendKey(target, XK_Shift_L, ControlMask, KeyPress);
        Key(target, symbol, ControlMask | ShiftMask);
        SendKey(target, XK_Shift_L, ControlMask | ShiftMask, KeyRelease);
        SendKey(target, XK_Control_L, ControlMask, KeyRelease);
        XFlush(display_);
    }
    void CopyScreenText(Window target) { CtrlShift(target, XK_c); }
    // Ctrl+`symbol`, the same way.
    void Ctrl(Window target, KeySym symbol) {
        SendKey(target, XK_Control_L, 0, KeyPress);
        Key(target, symbol, ControlMask);
        SendKey(target, XK_Control_L, ControlMask, KeyRelease);
        XFlush(display_);
    }

    // The clipboard's UTF-8 text, or empty when its owner does not answer within a second.
    std::string ClipboardText() {
        XConvertSelection(display_, clipboard_, utf8_, property_, own_, CurrentTime);
        XFlush(display_);
        const auto end = Clock::now() + 1s;
        while (Clock::now() < end) {
            XEvent event;
            if (XCheckTypedWindowEvent(display_, own_, SelectionNotify, &event)) {
                if (event.xselection.property == None) return {};
                return ReadProperty();
            }
            std::this_thread::sleep_for(10ms);
        }
        return {};
    }

    // The close box: the window manager's delete request.
    void Close(Window target) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, target, False, NoEventMask, &event);
        XFlush(display_);
    }

private:
    // Xlib's default handler ends the process on any protocol error; here an error is noted and
    // fails only its request. A window can vanish between the listing and a question about it
    // (SDL opens and closes short-lived windows as it starts), or close as a key is sent to it.
    static int NoteError(Display* display, XErrorEvent*) {
        if (current_ && display == current_->display_) ++current_->errors_;
        return 0;
    }

    long WindowPid(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display_, w, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data) == Success &&
            data && items == 1) {
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        }
        if (data) XFree(data);
        return pid;
    }

    void SendKey(Window target, KeySym symbol, unsigned state, int type) {
        XKeyEvent key{};
        key.type = type;
        key.display = display_;
        key.window = target;
        key.root = DefaultRootWindow(display_);
        key.time = CurrentTime;
        key.state = state;
        key.keycode = XKeysymToKeycode(display_, symbol);
        key.same_screen = True;
        XEvent event{};
        event.xkey = key;
        XSendEvent(display_, target, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
    }

    std::string ReadProperty() {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::string text;
        if (XGetWindowProperty(display_, own_, property_, 0, 1 << 16, True, AnyPropertyType, &type, &format, &items,
                               &after, &data) == Success &&
            data) {
            text.assign(reinterpret_cast<char*>(data), items);
        }
        if (data) XFree(data);
        return text;
    }

    Display* display_;
    Window own_;
    Atom clipboard_;
    Atom utf8_;
    Atom property_;
    Atom pidAtom_;
    unsigned long errors_ = 0;
    XErrorHandler previous_ = nullptr;
    static inline X11Driver* current_ = nullptr;
};

// The first PNG file in `folder` that is written whole, waiting up to twenty seconds for it.
std::filesystem::path WrittenPng(const std::filesystem::path& folder) {
    for (const auto end = Clock::now() + 20s; Clock::now() < end; std::this_thread::sleep_for(50ms)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".png") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string head(8, '\0');
            in.read(head.data(), 8);
            if (head == "\x89PNG\r\n\x1a\n" && entry.file_size() > 1000) return entry.path();
        }
    }
    return {};
}

std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int TraceEntries(const std::string& trace) {
    int entries = trace.starts_with("@@ ") ? 1 : 0;
    for (size_t at = 0; (at = trace.find("\n@@ ", at)) != std::string::npos; ++at)
        ++entries;
    return entries;
}

// Each test has an X server, a connection to it and a home folder of its own.
class SdlSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OnPath("Xvfb")) GTEST_SKIP() << "no Xvfb to open a window in";
        display_ = StartXvfb(server_);
        if (!display_) GTEST_SKIP() << "Xvfb did not start";
        x_ = XOpenDisplay(display_->c_str());
        if (!x_) GTEST_SKIP() << "cannot connect to " << *display_;
        driver_.emplace(x_);
        home_ =
            std::filesystem::temp_directory_path() / ("kestran-smoke-" + std::to_string(getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(home_);
    }
    void TearDown() override {
        driver_.reset();
        if (x_) XCloseDisplay(x_);
        if (!home_.empty()) std::filesystem::remove_all(home_);
    }

    // Starts the program in a window with `args` after "--backend=sdl"; its window, or 0.
    Window StartGame(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {KESTRAN_PROGRAM, "--backend=sdl", "--language=ja", "--drives=" + (home_ / "drives").string()});
        const bool started = game_.Start(
            args, {"DISPLAY=" + *display_, "XDG_STATE_HOME=" + home_.string(), "XDG_PICTURES_DIR=" + home_.string(),
                   "XDG_CONFIG_HOME=" + home_.string(), "SDL_AUDIODRIVER=dummy",
                   // Under the sanitizers: SDL leaves blocks of the libraries it loads
                   // and unloads itself (the Xkb map of libX11, D-Bus) that the leak
                   // checker cannot name; the program's own memory is checked by the
                   // unit tests.
                   "ASAN_OPTIONS=detect_leaks=0"});
        Window window = 0;
        for (const auto end = Clock::now() + 30s; started && !window && !game_.Ended() && Clock::now() < end;
             std::this_thread::sleep_for(50ms)) {
            window = driver_->FindWindow(game_.pid());
        }
        return window;
    }

    // Why a wait gave up: the program's end, if that was it.
    std::string ProgramEnd() {
        const auto status = game_.Wait(0ms);
        return status ? "\n(the program ended with status " + std::to_string(*status) + ")" : "";
    }

    // Copies the screen text until it contains `wanted` (the program may still be drawing);
    // `last` is the last text copied. The program's window is looked for again each time and
    // `target` follows it: SDL may replace the first window it showed while it starts.
    bool ScreenShows(Window& target, const std::string& wanted, std::string& last) {
        for (const auto end = Clock::now() + 30s; Clock::now() < end && !game_.Ended();
             std::this_thread::sleep_for(100ms)) {
            if (const Window now = driver_->FindWindow(game_.pid())) target = now;
            driver_->CopyScreenText(target);
            last = driver_->ClipboardText();
            if (last.find(wanted) != std::string::npos) return true;
        }
        last += ProgramEnd();
        return false;
    }

    Child server_;
    Child game_;  // ended before the server
    std::optional<std::string> display_;
    Display* x_ = nullptr;
    std::optional<X11Driver> driver_;
    std::filesystem::path home_;
};

TEST_F(SdlSmoke, TitleShowsKeysWorkAndTheCloseBoxEndsTheProgramQuietly) {
    Window window = StartGame({"--seed=1"});
    ASSERT_NE(window, 0u) << "the program opened no window" << ProgramEnd();
    X11Driver& driver = *driver_;

    std::string text;
    EXPECT_TRUE(ScreenShows(window, "(N) NEW  GAME", text)) << text;
    EXPECT_NE(text.find("KESTRAN"), std::string::npos) << text;

    driver.CtrlShift(window, XK_s);  // a screenshot into XDG_PICTURES_DIR
    EXPECT_FALSE(WrittenPng(home_).empty()) << "no screenshot was saved";

    driver.Key(window, XK_n);  // a new hero: the name is asked for
    EXPECT_TRUE(ScreenShows(window, "キャラクターを作成します", text)) << text;

    driver.Close(window);  // while the name is being typed
    const auto status = game_.Wait(30s);
    ASSERT_TRUE(status.has_value()) << "the program did not end after the close box";
    EXPECT_EQ(*status, 0);
}

// A new hero saved at creation and in the inn's diary, typed into the window a key at a time
// (each once the program has taken the one before), then the close box; the recording replayed
// headless gives the same trace and the same save.
TEST_F(SdlSmoke, ASessionRecordedInTheWindowReplaysHeadlessToTheSameTraceAndSave) {
    const auto recording = home_ / "session.keys";
    const auto trace = home_ / "window.trace";
    Window window = StartGame({"--seed=3", "--record=" + recording.string(), "--trace=" + trace.string()});
    ASSERT_NE(window, 0u) << "the program opened no window" << ProgramEnd();
    X11Driver& driver = *driver_;
    std::string text;
    ASSERT_TRUE(ScreenShows(window, "(N) NEW  GAME", text)) << text;

    const std::string keys = "NCARL\rY\r\r\r\r\r\r\rYYCYxIYYCNcYxx";
    for (size_t i = 0; i < keys.size(); ++i) {
        const char c = keys[i];
        if (c == '\r') {
            driver.Key(window, XK_Return);
        } else {
            const char lower[] = {char(std::tolower(static_cast<unsigned char>(c))), 0};
            driver.Key(window, XStringToKeysym(lower), std::isupper(static_cast<unsigned char>(c)) ? ShiftMask : 0);
        }
        XFlush(x_);
        const auto end = Clock::now() + 30s;
        while (TraceEntries(ReadFile(trace)) <= int(i) && !game_.Ended() && Clock::now() < end)
            std::this_thread::sleep_for(20ms);
        ASSERT_EQ(TraceEntries(ReadFile(trace)), int(i) + 1) << "key " << i << " was not taken" << ProgramEnd();
        std::this_thread::sleep_for(100ms);
    }
    const std::string saved = ReadFile(home_ / "drives" / "C" / "KSSAVE");
    ASSERT_FALSE(saved.empty());
    driver.Close(window);
    ASSERT_TRUE(game_.Wait(30s).has_value()) << "the program did not end after the close box";

    const auto replayTrace = home_ / "headless.trace";
    Child replay;
    ASSERT_TRUE(replay.Start({KESTRAN_PROGRAM, "--backend=headless", "--keys-file=" + recording.string(),
                              "--trace=" + replayTrace.string(), "--drives=" + (home_ / "replay").string()},
                             {"ASAN_OPTIONS=detect_leaks=0"}));
    ASSERT_EQ(replay.Wait(30s), std::optional<int>(0));
    EXPECT_EQ(TraceEntries(ReadFile(trace)), int(keys.size()) + 1);  // and the close box
    EXPECT_EQ(ReadFile(replayTrace), ReadFile(trace));
    EXPECT_EQ(ReadFile(home_ / "replay" / "C" / "KSSAVE"), saved) << "the save differs";
}

// Ctrl+O switches the line editor's romaji typing: the window must hand it on as code 15 and not
// take it for a window command.
TEST_F(SdlSmoke, CtrlOTypesRomajiAsKatakanaInTheName) {
    Window window = StartGame({"--seed=1"});
    ASSERT_NE(window, 0u) << "the program opened no window" << ProgramEnd();
    X11Driver& driver = *driver_;
    std::string text;
    ASSERT_TRUE(ScreenShows(window, "(N) NEW  GAME", text)) << text;
    driver.Key(window, XK_n);
    ASSERT_TRUE(ScreenShows(window, "キャラクターを作成します", text)) << text;

    // Keys at a typist's pace: letters reach the program as text through the input method, and
    // a burst sent at once could overtake the Ctrl+O that has no text.
    const auto type = [&](KeySym symbol, bool ctrl = false) {
        ctrl ? driver.Ctrl(window, symbol) : driver.Key(window, symbol);
        XFlush(x_);
        std::this_thread::sleep_for(50ms);
    };
    type(XK_o, true);
    for (KeySym letter : {XK_k, XK_y, XK_a, XK_t, XK_t, XK_o})
        type(letter);
    type(XK_o, true);
    type(XK_a);
    EXPECT_TRUE(ScreenShows(window, "キャットa", text)) << text;

    driver.Close(window);
    EXPECT_TRUE(game_.Wait(30s).has_value()) << "the program did not end after the close box";
}

// A window that vanishes between the listing and the questions about it (as SDL's short-lived
// windows do while it starts) neither ends the test process nor is found: the search starts over.
TEST_F(SdlSmoke, TheWindowSearchOutlivesAWindowThatVanishes) {
    Display* other = XOpenDisplay(display_->c_str());
    ASSERT_NE(other, nullptr);
    const Window window = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 8, 8, 0, 0, 0);
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(other, window, XInternAtom(other, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(other, window);
    XSync(other, False);
    X11Driver& driver = *driver_;
    const auto listed = driver.TopLevelWindows();
    ASSERT_NE(std::find(listed.begin(), listed.end(), window), listed.end());
    EXPECT_EQ(driver.FindWindow(getpid()), window);

    XDestroyWindow(other, window);
    XSync(other, False);
    const auto errors = driver.errors();
    EXPECT_EQ(driver.FindAmong(listed, getpid()), std::nullopt);
    EXPECT_GT(driver.errors(), errors);
    EXPECT_EQ(driver.FindWindow(getpid()), 0u);
    driver.Key(window, XK_a);  // an error that comes back later, at the next round trip
    XSync(x_, False);
    EXPECT_EQ(driver.FindWindow(getpid()), 0u);
    XCloseDisplay(other);
}

}  // namespace
}  // namespace kestran::testing

#else

TEST(SdlSmoke, TitleShowsKeysWorkAndTheCloseBoxEndsTheProgramQuietly) {
    GTEST_SKIP() << "built without the program or without X11";
}

TEST(SdlSmoke, ASessionRecordedInTheWindowReplaysHeadlessToTheSameTraceAndSave) {
    GTEST_SKIP() << "built without the program or without X11";
}

TEST(SdlSmoke, CtrlOTypesRomajiAsKatakanaInTheName) {
    GTEST_SKIP() << "built without the program or without X11";
}

TEST(SdlSmoke, TheWindowSearchOutlivesAWindowThatVanishes) {
    GTEST_SKIP() << "built without the program or without X11";
}

#endif
