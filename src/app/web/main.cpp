// The program in the browser: the page's window, the font asset, the drive folders kept in the
// browser's storage, and the game, recorded for the page to save or share. The command line has
// no place here; the page's address may name the seed (for tests) or a recording to watch.
#include <optional>
#include <string>

#include "game/game.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/file_system.h"
#include "platform/font.h"
#include "platform/recording.h"
#include "platform/scratch_drives.h"
#include "platform/settings.h"
#include "platform/watching.h"
#include "platform/web/browser/browser_window.h"
#include "platform/web/browser/mount_awaiting_file_system.h"
#include "platform/web/browser/page_bridge.h"
#include "platform/web/font_pack.h"
#include "platform/web/persisting_file_system.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"
#include "runtime/values/sjis.h"

namespace web = kestran::platform::web;

namespace {

using kestran::platform::Platform;

const kestran::platform::Utf8CharToSjis kEncode = [](std::string_view utf8, std::string& sjis) {
    return kestran::Utf8ToSjis(utf8, sjis);
};

// The recording the page's address names, read; nothing when there is none or it cannot be
// watched (the page is told why, and the game starts as it would without it).
std::optional<kestran::platform::KeyScript> AddressedRecording() {
    const auto text = web::PageReplay();
    if (!text) return std::nullopt;
    kestran::platform::KeyScript script;
    std::string error;
    if (kestran::platform::ParseRecording(*text, kEncode, script, error)) return script;
    web::TellReplayRefused(error);
    return std::nullopt;
}

// The language the game is shown in: the one chosen on the page; else a watched recording's own
// (`recorded`); else the browser's.
kestran::game::Language ShownLanguage(const std::string& recorded) {
    kestran::game::Language language = kestran::game::Language::Japanese;
    if (kestran::game::LanguageFromName(web::PageChosenLanguage(), language)) return language;
    if (kestran::game::LanguageFromName(recorded, language)) return language;
    kestran::game::LanguageFromName(web::BrowserLanguage(), language);
    return language;
}

// One run of the game, recorded afresh as the session's recording. `seed` is the clock's when
// none is given.
int PlayRecorded(Platform& platform, std::optional<uint32_t> seed, kestran::game::Language language) {
    kestran::Runtime rt(platform);
    if (!seed) seed = uint32_t(kestran::PbTimer(rt));
    auto& recording = web::SessionRecording();
    recording.str({});
    kestran::platform::Window* const window = platform.window;
    const char* const name = language == kestran::game::Language::English ? "en" : "ja";
    kestran::platform::RecordingWindow recorder(*window, recording, *seed, kEncode, name);
    platform.window = &recorder;
    // The runtime's own reports follow the game's language.
    const kestran::platform::Settings* const shared = platform.settings;
    kestran::platform::Settings settings = shared ? *shared : kestran::platform::Settings{};
    settings.language = name;
    platform.settings = &settings;
    const int status = kestran::RunProgram(
        rt, [game = *seed, language](kestran::Runtime& r) { kestran::game::RunGame(r, game, language); });
    platform.window = window;
    platform.settings = shared;
    return status;
}

// A watched recording plays on copies of the drives in memory: the watched game's saves never
// reach the browser's storage, also after the player has taken over.
int PlayWatched(Platform& platform, kestran::platform::KeyScript script, const kestran::platform::Clock& clock) {
    kestran::platform::ScratchDrives scratch;
    std::string error;
    if (!scratch.Create(*platform.drives, "/tmp", error)) {
        web::TellReplayRefused(error);
        return PlayRecorded(platform, web::PageSeed(), ShownLanguage(""));
    }
    const kestran::game::Language language = ShownLanguage(script.language);
    kestran::platform::WatchingWindow watcher(*platform.window, clock, std::move(script.keys),
                                              kestran::platform::WatchingWindow::kDefaultSpeed);
    platform.window = &watcher;
    const uint32_t seed = *script.seed;
    const int status = kestran::platform::PlayWatchedRuns(
        platform, scratch, watcher, [&](bool) { return PlayRecorded(platform, seed, language); }, error);
    if (status >= 0) return status;
    watcher.ShowMessage("kestran", error);
    return kestran::kExitFatalError;
}

int Run() {
    web::BrowserWindow window;
    web::SetKeyScriptEncoder(kEncode);
    // The drives come in from the browser's storage while the game starts; the first file
    // operation waits for them. Without the browser's storage the game still runs; the page
    // says that saves last only until it is closed.
    web::StartMountingDrives();
    kestran::platform::Font font;
    std::string packed;
    std::string error;
    if (!web::FetchFontAsset(packed)) return kestran::kExitFatalError;
    if (!web::UnpackFont(packed, font, error)) {
        window.ShowMessage("kestran", error);
        return kestran::kExitFatalError;
    }
    packed = {};
    // Outermost the wait for the mount, so a refresh or a persist never runs before the drives are in.
    web::PersistingFileSystem files(kestran::platform::SystemFileSystem(), web::PersistDrives, web::RefreshDrives);
    web::MountAwaitingFileSystem mounted(files);
    kestran::platform::DriveMap drives(web::kDrivesRoot, &mounted);

    kestran::platform::SystemClock clock;
    kestran::platform::Settings settings;
    settings.errorMessageFolder = "/";  // the messages are linked in; any folder names them
    kestran::platform::FileErrorLog errorLog(kestran::platform::FileErrorLog::DefaultPath());
    Platform platform;
    platform.window = &window;
    platform.clock = &clock;
    platform.font = &font;
    platform.drives = &drives;
    platform.settings = &settings;
    platform.errorLog = &errorLog;
    if (auto recording = AddressedRecording()) return PlayWatched(platform, std::move(*recording), clock);
    return PlayRecorded(platform, web::PageSeed(), ShownLanguage(""));
}

}  // namespace

int main() {
    const int status = Run();
    web::TellGameEnded(status);
    return status;
}
