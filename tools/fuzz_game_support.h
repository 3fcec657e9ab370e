// Shared by the fuzz targets that run the console or the game: a window that types a list of
// events and shows nothing, drive folders of this process that every input starts from afresh,
// and a runtime over both. The drive folders live in shared memory where there is any, because
// every save syncs its file.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/platform.h"
#include "platform/recording.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace kestran::fuzz {

namespace fs = std::filesystem;

// Types its events one per wait; when they run out the window counts as closed, which ends the
// program normally.
class ScriptWindow final : public platform::Window {
public:
    std::deque<platform::Event> events;
    int beeps = 0;

    void Present(const platform::FrameView&) override {}
    bool WaitEvent(platform::Event& event, int) override {
        if (events.empty()) {
            event = platform::Event::Of(platform::Event::Kind::Close);
        } else {
            event = std::move(events.front());
            events.pop_front();
        }
        return true;
    }
    bool PollEvent(platform::Event&) override { return false; }
    void Beep() override { ++beeps; }
    void SetTextInput(bool, int, int) override {}
    void ShowMessage(const std::string&, const std::string&) override {}

    // Appends keys in the key-script notation ("Y", "{Enter}", "{x81}"); a script that does not
    // parse is a fault of the target itself.
    void Type(std::string_view script) {
        platform::KeyScript parsed;
        std::string error;
        const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
        if (!platform::ParseKeyScript(script, false, encode, parsed, error)) std::abort();
        for (auto& e : parsed.keys)
            events.push_back(std::move(e));
    }
};

// The folder that holds this process's drive folders, made on first use and removed at exit.
inline const fs::path& DrivesRoot() {
    static const fs::path root = [] {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "kestran-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(DrivesRoot(), ec);
        });
        return fs::path(pattern);
    }();
    return root;
}

// Empties the drive folders for the next input.
inline void ClearDrives() {
    for (const auto& entry : fs::directory_iterator(DrivesRoot()))
        fs::remove_all(entry.path());
}

inline void WriteDriveFile(char drive, std::string_view name, std::string_view bytes) {
    const fs::path folder = DrivesRoot() / std::string(1, drive);
    fs::create_directories(folder);
    std::ofstream out(folder / std::string(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadDriveFile(char drive, std::string_view name) {
    std::ifstream in(DrivesRoot() / std::string(1, drive) / std::string(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file of the committed seed saves (tests/fuzz_saves/), read once.
inline std::string SeedSave(const std::string& name) {
    std::ifstream in(fs::path(KESTRAN_FUZZ_SAVES) / name, std::ios::binary);
    if (!in) std::abort();
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A runtime over a script window, a clock that stands still and the drive folders.
struct Session {
    Session() : drives(DrivesRoot()) {
        platform.window = &window;
        platform.clock = &clock;
        platform.drives = &drives;
    }

    // Runs `body` as the program's main body. A fatal run-time error is a finding.
    void Run(const MainBody& body) {
        if (RunProgram(rt, body) == kExitFatalError) std::abort();
    }

    ScriptWindow window;
    platform::FixedClock clock{platform::LocalTime{2024, 5, 6, 7, 8, 9}};
    platform::DriveMap drives;
    platform::Platform platform;
    Runtime rt{platform};
};

}  // namespace kestran::fuzz
