// The Windows program is a window program (no console opens behind it on a double-click). Its
// command line comes as UTF-16 and is handed on as UTF-8, as everywhere else; what it prints goes
// to the console it was started from, or where its output was sent.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/wide_text_win.h"

namespace {

// A window program started from a console has no standard streams of its own; it writes to
// that console instead (after the prompt it already showed: a console does not wait for it).
// Streams that were redirected are left as they are.
void UseParentConsole() {
    const auto missing = [](DWORD which) {
        HANDLE h = GetStdHandle(which);
        return h == nullptr || h == INVALID_HANDLE_VALUE;
    };
    if (!missing(STD_OUTPUT_HANDLE) && !missing(STD_ERROR_HANDLE)) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // The console shows UTF-8 text as it is.
    SetConsoleOutputCP(CP_UTF8);
    if (missing(STD_OUTPUT_HANDLE) || _fileno(stdout) < 0) std::freopen("CONOUT$", "w", stdout);
    if (missing(STD_ERROR_HANDLE) || _fileno(stderr) < 0) std::freopen("CONOUT$", "w", stderr);
}

// The program's file name (a Windows path has two separators) and its arguments.
std::vector<std::string> Utf8Arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 0; wide && i < count; ++i) {
        const std::wstring arg = i == 0 ? std::filesystem::path(wide[i]).filename().wstring() : wide[i];
        args.push_back(kestran::platform::Narrow(arg));
    }
    LocalFree(wide);
    return args;
}

}  // namespace

int main() {
    UseParentConsole();
    std::vector<std::string> args = Utf8Arguments();
    const std::string program = args.empty() ? "kestran" : args.front();
    if (!args.empty()) args.erase(args.begin());
    return kestran::app::Main(program, args);
}
