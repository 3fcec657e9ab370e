#include "app/app.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "app/command_line.h"
#include "app/window_backend.h"
#include "game/game.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/font.h"
#include "platform/headless/headless_window.h"
#include "platform/recording.h"
#include "platform/scratch_drives.h"
#include "platform/settings.h"
#include "platform/tracing.h"
#include "platform/user_language.h"
#include "platform/utf8_path.h"
#include "platform/watching.h"
#include "runtime/console/compositor.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"
#include "runtime/values/sjis.h"

namespace kestran::app {

namespace {

constexpr int kExitBadCommandLine = 2;
constexpr int kExitStartupFailure = 1;  // no window could be opened: the program did not run

void Complain(const std::string& message) {
    std::cerr << "kestran: " << message << "\n";
}

int Refuse(const std::string& message) {
    Complain(message);
    return kExitBadCommandLine;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(platform::Utf8Path(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return !in.bad();
}

// The keys of --keys, --keys-file or --watch.
bool LoadKeys(const CommandLine& cl, platform::KeyScript& script, std::string& error) {
    const std::optional<std::string> file = cl.watch.empty() ? cl.keysFile : cl.watch;
    std::string text;
    if (file && !ReadWholeFile(*file, text)) {
        error = "cannot read the key file " + *file;
        return false;
    }
    if (cl.keys) text = *cl.keys;
    const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
    return ParseKeyScript(text, file.has_value(), encode, script, error);
}

// Where a watched game's scratch drives are made: the temporary folder ($TMPDIR, else /tmp).
std::filesystem::path ScratchParent() {
    std::error_code ec;
    auto folder = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : folder;
}

// The output files are opened before anything runs, so that a bad path is a bad command line.
bool OpenOutput(const std::string& path, std::unique_ptr<std::ofstream>& file, std::string& error) {
    if (path.empty()) return true;
    file = std::make_unique<std::ofstream>(platform::Utf8Path(path), std::ios::binary | std::ios::trunc);
    if (*file) return true;
    error = "cannot write " + path;
    return false;
}

struct Outputs {
    std::unique_ptr<std::ofstream> trace, record, text, png;
    bool traceAccessible = false;  // the trace carries the screen's accessible text
    game::Language language = game::Language::Japanese;
};

// The system's language: Japanese for a Japanese locale, English for any other or none.
game::Language LocaleLanguage() {
    game::Language language = game::Language::English;
    const std::string name = platform::UserLanguageName();
    if (name.empty() || !game::LanguageFromName(name, language)) return game::Language::English;
    return language;
}

// The language the game is shown in: --language; else a watched recording's own; else, in a
// window or a terminal, LANGUAGE from env.conf or the locale. A headless run stays Japanese, so
// that key scripts and golden runs read the same on every machine.
game::Language ChooseLanguage(const CommandLine& cl, const platform::KeyScript& script,
                              const platform::Settings& settings, Backend backend) {
    game::Language language = game::Language::Japanese;
    if (game::LanguageFromName(cl.language, language)) return language;
    if (!cl.watch.empty() && game::LanguageFromName(script.language, language)) return language;
    if (backend == Backend::Headless) return game::Language::Japanese;
    if (game::LanguageFromName(settings.language, language)) return language;
    return LocaleLanguage();
}

bool WriteDumps(const CommandLine& cl, const platform::HeadlessWindow& window, Outputs& out) {
    bool ok = true;
    if (out.text) {
        *out.text << window.ScreenText();
        out.text->close();
        if (!*out.text) {
            Complain("writing " + cl.dumpText + " failed");
            ok = false;
        }
    }
    if (out.png) {
        out.png->close();
        std::string error;
        if (!platform::WritePng(cl.dumpPng, window.pixels().data(), window.width(), window.height(), error)) {
            Complain(error);
            ok = false;
        }
    }
    return ok;
}

// One run of the game on `platform`. The recorder, and in a window or a terminal the tracer (the
// headless window traces its own waits), wrap its window for the run; `atEnd` sees the runtime as
// the game left it. `seed` is the clock's when none is given, and is kept for the runs that follow.
int PlayOnce(platform::Platform& platform, const std::string& programName, std::optional<uint32_t>& seed, Outputs& out,
             bool traceWindow, const std::function<void(Runtime&)>& atEnd = {}) {
    Runtime rt(platform);
    rt.programName = programName;
    if (!seed) seed = uint32_t(PbTimer(rt));
    platform::Window* const window = platform.window;
    const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
    std::optional<platform::TracingWindow> tracer;
    if (out.trace && traceWindow) {
        tracer.emplace(*platform.window, *out.trace, encode, out.traceAccessible);
        platform.window = &*tracer;
    }
    std::optional<platform::RecordingWindow> recorder;
    if (out.record) {
        recorder.emplace(*platform.window, *out.record, *seed, encode,
                         out.language == game::Language::English ? "en" : "ja");
        platform.window = &*recorder;
    }
    const int status =
        RunProgram(rt, [game = *seed, language = out.language](Runtime& r) { game::RunGame(r, game, language); });
    platform.window = window;
    if (atEnd) atEnd(rt);
    return status;
}

// A watched recording: the trace and the recording of a run replace those of the run before.
int PlayWatched(platform::Platform& platform, const std::string& programName, uint32_t seed, Outputs& out,
                const CommandLine& cl, platform::ScratchDrives& scratch, platform::WatchingWindow& watcher) {
    std::optional<uint32_t> runSeed = seed;
    std::string error;
    const int status = platform::PlayWatchedRuns(
        platform, scratch, watcher,
        [&](bool again) {
            if (again && (!OpenOutput(cl.trace, out.trace, error) || !OpenOutput(cl.record, out.record, error)))
                return -1;
            return PlayOnce(platform, programName, runSeed, out, true);
        },
        error);
    if (status >= 0) return status;
    platform.window->ShowMessage(programName, error);
    return kExitStartupFailure;
}

int Run(const std::string& programPath, const CommandLine& cl) {
    const std::string programName = ProgramNameFromPath(programPath);
    // The font is read while the window system starts and the window opens: together they are
    // most of the time to the first frame. A headless run that writes no picture needs none (a
    // font named on the command line is still read, so that a wrong one is refused).
    const bool picturesMade = !ChoosesHeadless(cl) || !cl.dumpPng.empty();
    platform::Font font;
    std::string fontError;
    auto fontLoaded = std::async(std::launch::async, [&] {
        if (!picturesMade && cl.font.empty()) return false;
        return platform::LoadFont(font, cl.font, fontError, [](uint32_t cp) { return ScreenDrawsCodepoint(cp); });
    });
    std::string error;
    platform::KeyScript script;
    if (!LoadKeys(cl, script, error)) return Refuse(error);
    if (!cl.watch.empty() && !cl.seed && !script.seed)
        return Refuse(cl.watch + " names no seed (a '#seed N' line, as --record writes); give --seed");
    auto settings = platform::LoadSettings(platform::RunningProgramFolder());
    Backend backend = Backend::Headless;
    const bool englishIfShown = ChooseLanguage(cl, script, settings, Backend::Sdl) == game::Language::English;
    switch (ChooseBackend(cl, backend, error, englishIfShown)) {
        case BackendProblem::None:
            break;
        case BackendProblem::BadCommandLine:
            return Refuse(error);
        case BackendProblem::CannotStart:
            ShowStartupFailure(programName, error);
            return kExitStartupFailure;
    }
    Outputs out;
    out.traceAccessible = cl.traceAccessible;
    if (!OpenOutput(cl.trace, out.trace, error) || !OpenOutput(cl.record, out.record, error) ||
        !OpenOutput(cl.dumpText, out.text, error) || !OpenOutput(cl.dumpPng, out.png, error)) {
        return Refuse(error);
    }
    out.language = ChooseLanguage(cl, script, settings, backend);
    // From here on the setting is the language chosen, which the runtime's and the window's own
    // texts follow too.
    settings.language = out.language == game::Language::English ? "en" : "ja";
    std::unique_ptr<platform::Window> window;
    const auto openWindow = [&] {
        window = OpenGameWindow(backend, cl, programName, &font, settings, error);
        if (!window) ShowStartupFailure(programName, error);
        return window != nullptr;
    };
    // The SDL window opens while the font is read; the terminal is taken over only after the
    // last message written to it.
    if (backend == Backend::Sdl && !openWindow()) return kExitStartupFailure;
    const bool haveFont = fontLoaded.get();
    if (!haveFont && !cl.font.empty()) return Refuse(fontError);
    if (!haveFont && backend == Backend::Sdl) {
        ShowStartupFailure(
            programName,
            (out.language == game::Language::English ? "No font found: " : "フォントが見つかりません: ") + fontError);
        return kExitStartupFailure;
    }
    // The terminal draws text with its own font.
    if (!haveFont && backend == Backend::Headless && picturesMade)
        std::cerr << "kestran: " << fontError << "; text is left out of pictures\n";

    platform::DriveMap drives(cl.drivesRoot.empty() ? platform::DriveMap::DefaultRoot()
                                                    : platform::Utf8Path(cl.drivesRoot));
    for (const auto& [letter, dir] : cl.driveMaps)
        drives.Map(letter, platform::Utf8Path(dir));
    drives.RemoveLeftoversOfEveryDrive();
    platform::ScratchDrives scratch;
    if (!cl.watch.empty() && !scratch.Create(drives, ScratchParent(), error)) {
        ShowStartupFailure(programName, error);
        return kExitStartupFailure;
    }
    if (backend == Backend::Tty && !openWindow()) return kExitStartupFailure;
    platform::FileErrorLog errorLog(platform::FileErrorLog::DefaultPath());

    platform::SystemClock clock;
    platform::Platform platform;
    platform.clock = &clock;
    platform.font = haveFont ? &font : nullptr;
    platform.drives = &drives;
    platform.settings = &settings;
    platform.errorLog = &errorLog;
    std::optional<uint32_t> seed = cl.seed ? cl.seed : script.seed;
    if (backend == Backend::Headless) {
        platform::HeadlessWindow headless(std::move(script.keys), out.trace.get());
        headless.SetWantsPixels(picturesMade);
        headless.SetTraceAccessibleText(cl.traceAccessible);
        platform.window = &headless;
        // The last frame, whatever the end left the window pointer at.
        int status = PlayOnce(platform, programName, seed, out, false, [](Runtime& rt) { rt.console.Present(rt); });
        if (!WriteDumps(cl, headless, out) && status == 0) status = 1;
        return status;
    }
    platform.window = window.get();
    if (cl.watch.empty()) return PlayOnce(platform, programName, seed, out, true);
    platform::WatchingWindow watcher(*window, clock, std::move(script.keys),
                                     cl.speed ? cl.speed : platform::WatchingWindow::kDefaultSpeed);
    platform.window = &watcher;
    return PlayWatched(platform, programName, *seed, out, cl, scratch, watcher);
}

}  // namespace

int Main(const std::string& programPath, const std::vector<std::string>& args) {
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        std::cerr << "kestran: " << error << "\n" << kTryHelp;
        return kExitBadCommandLine;
    }
    if (cl.help) {
        std::cout << UsageText();
        return 0;
    }
    if (cl.version) {
        std::cout << VersionText();
        return 0;
    }
    return Run(programPath, cl);
}

}  // namespace kestran::app
