#include "app/window_backend.h"

#include <cstdio>

#include "platform/settings.h"
#include "runtime/frame/frame_state.h"
#include "runtime/frame/program.h"
#if KESTRAN_HAVE_SDL
#include "platform/sdl/sdl_window.h"
#endif
#if KESTRAN_HAVE_TTY
#include "platform/tty/tty_window.h"
#endif

namespace kestran::app {

namespace {

// Options only the headless backend serves. (--record and --trace also serve a session played
// in a window or a terminal; alone they do not choose the headless backend.)
bool HeadlessOnly(const CommandLine& cl) {
    return cl.keys || cl.keysFile || !cl.dumpText.empty() || !cl.dumpPng.empty();
}

bool SdlStarts() {
#if KESTRAN_HAVE_SDL
    return platform::sdl::DisplayAvailable();
#else
    return false;
#endif
}

}  // namespace

bool ChoosesHeadless(const CommandLine& cl) {
    return cl.backend == "headless" || (cl.backend.empty() && HeadlessOnly(cl));
}

BackendProblem ChooseBackend(const CommandLine& cl, Backend& backend, std::string& error, bool english) {
    const std::string cannotOpen(StartupMessageText(StartupMessage::CannotOpenWindow, english));
    if (ChoosesHeadless(cl) && !cl.watch.empty()) {
        error = "--watch plays a recording in a window or a terminal, not headless (--keys-file replays it there)";
        return BackendProblem::BadCommandLine;
    }
    if (ChoosesHeadless(cl)) {
        backend = Backend::Headless;
        if (!cl.screenReader) return BackendProblem::None;
        error = "--screen-reader is for the terminal, not for key scripts and dumps";
        return BackendProblem::BadCommandLine;
    }
    if (HeadlessOnly(cl)) {
        error = "key scripts and dumps need --backend=headless";
        return BackendProblem::BadCommandLine;
    }
    // A player by ear wants the terminal, also where a display is at hand.
    if (cl.backend == "sdl" || (cl.backend.empty() && !cl.screenReader)) {
        if (SdlStarts()) {
            backend = Backend::Sdl;
            return BackendProblem::None;
        }
        if (cl.backend == "sdl") {
            error = cannotOpen + " (SDL: no display could be opened)";
            return BackendProblem::CannotStart;
        }
    }
#if KESTRAN_HAVE_TTY
    if (platform::tty::TerminalAvailable()) {
        backend = Backend::Tty;
        return BackendProblem::None;
    }
    error = cannotOpen + (cl.backend == "tty" ? " (standard input and output are not a terminal)"
                                              : " (no display and no terminal; --backend=headless runs without one)");
    return BackendProblem::CannotStart;
#else
    error = cannotOpen + (cl.backend == "tty" ? " (this build has no terminal backend)"
                                              : " (no display; --backend=headless runs without one)");
    return BackendProblem::CannotStart;
#endif
}

void ShowStartupFailure(const std::string& programName, const std::string& textUtf8) {
    const std::string title = programName + ".EXE";
#if KESTRAN_HAVE_SDL
    if (platform::sdl::DisplayNamed() && platform::sdl::ShowMessageBox(title, textUtf8)) return;
#endif
    std::fprintf(stderr, "%s: %s\n", title.c_str(), textUtf8.c_str());
}

std::unique_ptr<platform::Window> OpenGameWindow(Backend backend, [[maybe_unused]] const CommandLine& cl,
                                                 [[maybe_unused]] const std::string& programName,
                                                 [[maybe_unused]] const platform::Font* font,
                                                 [[maybe_unused]] const platform::Settings& settings,
                                                 std::string& error) {
    const bool english = settings.language == "en";
#if KESTRAN_HAVE_TTY
    if (backend == Backend::Tty) {
        auto window = platform::tty::OpenTtyWindow(error, {.screenReader = cl.screenReader, .english = english});
        if (!window)
            error = std::string(StartupMessageText(StartupMessage::CannotOpenWindow, english)) + " (" + error + ")";
        return window;
    }
#endif
    if (backend != Backend::Sdl) {
        error = StartupMessageText(StartupMessage::CannotOpenWindow, english);
        return nullptr;
    }
#if KESTRAN_HAVE_SDL
    platform::sdl::SdlWindowOptions options;
    options.title = programName;
    options.scale = cl.scale;
    options.fullscreen = cl.fullscreen;
    options.hidden = BuildOptions{}.hiddenWindow == 1;
    options.font = font;
    options.english = english;
    if (!settings.helpFolder.empty()) options.helpFile = settings.helpFolder / platform::kHelpFileName;
    auto window = platform::sdl::OpenSdlWindow(options, error);
    if (!window)
        error = std::string(StartupMessageText(StartupMessage::CannotOpenWindow, english)) + " (" + error + ")";
    return window;
#else
    error = StartupMessageText(StartupMessage::CannotOpenWindow, english);
    return nullptr;
#endif
}

}  // namespace kestran::app
