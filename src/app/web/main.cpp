// The program in the browser: the page's window, the font asset, the drive folders kept in the
// browser's storage, and the game. The command line has no place here; a test may name the seed
// in the page's address.
#include <optional>
#include <string>

#include "game/game.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/file_system.h"
#include "platform/font.h"
#include "platform/settings.h"
#include "platform/web/browser/browser_window.h"
#include "platform/web/browser/page_bridge.h"
#include "platform/web/font_pack.h"
#include "platform/web/persisting_file_system.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/numbers.h"
#include "runtime/values/sjis.h"

namespace web = kestran::platform::web;

namespace {

int Run() {
    web::BrowserWindow window;
    web::SetKeyScriptEncoder([](std::string_view utf8, std::string& sjis) { return kestran::Utf8ToSjis(utf8, sjis); });
    kestran::platform::Font font;
    std::string packed;
    std::string error;
    if (!web::FetchFontAsset(packed)) return kestran::kExitFatalError;
    if (!web::UnpackFont(packed, font, error)) {
        window.ShowMessage("kestran", error);
        return kestran::kExitFatalError;
    }
    packed = {};
    // Without the browser's storage the game still runs; the page has said that saves last only
    // until it is closed.
    web::MountDrives();
    web::PersistingFileSystem files(kestran::platform::SystemFileSystem(), [] { return web::PersistDrives(); });
    kestran::platform::DriveMap drives(web::kDrivesRoot, &files);

    kestran::platform::SystemClock clock;
    kestran::platform::Settings settings;
    settings.errorMessageFolder = "/";  // the messages are linked in; any folder names them
    kestran::platform::FileErrorLog errorLog(kestran::platform::FileErrorLog::DefaultPath());
    kestran::platform::Platform platform;
    platform.window = &window;
    platform.clock = &clock;
    platform.font = &font;
    platform.drives = &drives;
    platform.settings = &settings;
    platform.errorLog = &errorLog;
    kestran::Runtime rt(platform);

    const std::optional<uint32_t> pageSeed = web::PageSeed();
    const uint32_t seed = pageSeed ? *pageSeed : uint32_t(kestran::PbTimer(rt));
    return kestran::RunProgram(rt, [seed](kestran::Runtime& r) { kestran::game::RunGame(r, seed); });
}

}  // namespace

int main() {
    const int status = Run();
    web::TellGameEnded(status);
    return status;
}
