// Start-up and end of the program: the program name, the run of the game's main body and the
// end sequence that every way out goes through.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestran {

struct Runtime;

// Exit statuses of the process.
constexpr int kExitNormal = 0;          // the game's own end, the hero's death, the window closed
constexpr int kExitFatalError = 1;      // a run-time error nothing trapped (after its report)
constexpr int kExitBadCommandLine = 2;  // the program did not start

// The program name: the executable's file name without folder and extension. It is the
// window's title; message boxes are titled with it and ".EXE".
std::string ProgramNameFromPath(std::string_view path);
std::string MessageBoxTitle(const Runtime& rt);

// The start-up failures a message box reports (UTF-8).
enum class StartupMessage {
    OutOfMemory = 1,
    SystemFault = 2,
    CannotOpenWindow = 3,
    NoDeviceContext = 4,
    NoGraphicsBitmap = 5,
    NoResource = 6,
    NoFormData = 7,
    NoMetafile = 8,
};
// In English (ASCII) when `english`, as a program chosen to show English reports them.
std::string_view StartupMessageText(StartupMessage message, bool english = false);

// Whether the runtime's own texts (its reports, the error-message texts) are shown in English:
// the settings name English as the game's language. Japanese, the original's, otherwise.
bool ShowsEnglish(const Runtime& rt);

// The game's main body, called once.
using MainBody = std::function<void(Runtime&)>;

// Starts the runtime (option words, the break event enabled), calls the body once and runs the
// end sequence, however the body is left: by returning, by PbEnd, by the window's closing, by
// the break stop or by a fatal run-time error (after its report). Returns the exit status.
int RunProgram(Runtime& rt, const MainBody& body);

}  // namespace kestran
