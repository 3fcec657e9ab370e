// The choice of the window backend and the opening of its window (SDL or terminal), with the
// start-up failures they can meet.
#pragma once

#include <memory>
#include <string>

#include "app/command_line.h"
#include "platform/window.h"

namespace kestran::platform {
class Font;
struct Settings;
}  // namespace kestran::platform

namespace kestran::app {

enum class Backend { Headless, Sdl, Tty };

enum class BackendProblem {
    None,
    BadCommandLine,  // key scripts, dumps or traces asked of a backend that has none
    CannotStart,     // the named or needed backend is not part of this build or cannot start
};

// The backend to run: the one --backend names; else headless when the command line scripts the
// keys or asks for dumps (those are the headless backend's); else sdl when a display is
// available (unless --screen-reader asks for the terminal); else tty when standard input and
// output are terminals. On a problem, `error` says
// what it is.
BackendProblem ChooseBackend(const CommandLine& cl, Backend& backend, std::string& error, bool english = false);

// Whether the command line chooses the headless backend (known without starting anything).
bool ChoosesHeadless(const CommandLine& cl);

// Shows a start-up failure: in a message box titled with the program name and ".EXE" when a
// display can show one, else on the terminal.
void ShowStartupFailure(const std::string& programName, const std::string& textUtf8);

// Opens the window of the sdl (--scale, --fullscreen) or tty (--screen-reader) backend for the game. Null, with the
// reason, when it cannot.
std::unique_ptr<platform::Window> OpenGameWindow(Backend backend, const CommandLine& cl, const std::string& programName,
                                                 const platform::Font* font, const platform::Settings& settings,
                                                 std::string& error);

}  // namespace kestran::app
