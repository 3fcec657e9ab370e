// How long a watched replay takes to go to the last key of the whole-game golden run: the game
// runs in this process behind the watching window as the program runs it (scratch drives, a
// fresh runtime), the player presses End at the first key wait, and the time runs until the
// watcher has landed, drawn the screen there and waits at its pace for the next key. A step back
// from the end costs the same: the game starts again and replays as far.
//
// The case's `keys` are measured from empty drives; its `keys.2` (the program started again after
// a save) from the drives a headless run of `keys` leaves, as the golden run plays them.
//
// Usage: bench_watch_seek [--runs=N] [--case=DIR]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/headless/headless_window.h"
#include "platform/recording.h"
#include "platform/scratch_drives.h"
#include "platform/watching.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace {

namespace fs = std::filesystem;
using namespace kestran;
using Event = platform::Event;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The player: End at the first key wait; the next wait the watcher passes on is the one after
// the landing, where the time stops and the window closes.
class SeekingPlayer final : public platform::Window {
public:
    void Present(const platform::FrameView& frame) override {
        if (frame.textRows) rows = *frame.textRows;
    }
    bool WaitEvent(Event& event, int) override {
        if (!pressed_) {
            pressed_ = true;
            wall = -WallSeconds();
            cpu = -CpuSeconds();
            event = Event::KeyDown(platform::Key::End);
        } else {
            wall += WallSeconds();
            cpu += CpuSeconds();
            event = Event::Of(Event::Kind::Close);
        }
        return true;
    }
    bool PollEvent(Event&) override { return false; }
    void Beep() override {}
    void SetTextInput(bool, int, int) override {}
    void ShowMessage(const std::string& title, const std::string& text) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }

    double wall = 0;
    double cpu = 0;
    std::array<std::string, platform::kTextRows> rows;

private:
    bool pressed_ = false;
};

bool ReadScript(const fs::path& path, platform::KeyScript& script) {
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
    if (in && ParseKeyScript(text, true, encode, script, error)) return true;
    std::fprintf(stderr, "bench_watch_seek: %s: %s\n", path.c_str(), error.empty() ? "unreadable" : error.c_str());
    return false;
}

// Runs the game with `window` on `drives`.
void Play(platform::Window& window, platform::DriveMap& drives, uint32_t seed) {
    platform::SystemClock clock;
    platform::Platform p;
    p.window = &window;
    p.clock = &clock;
    p.drives = &drives;
    Runtime rt(p);
    RunProgram(rt, [seed](Runtime& r) { game::RunGame(r, seed); });
}

struct Seek {
    double wall = 0;
    double cpu = 0;
    size_t landedAt = 0;
};

// One seek to the last key of `keys`, on a scratch copy of `drives`.
std::optional<Seek> SeekToTheEnd(const std::vector<Event>& keys, const fs::path& drives, uint32_t seed) {
    platform::ScratchDrives scratch;
    fs::path root;
    std::string error;
    if (!scratch.Create(platform::DriveMap(drives), fs::temp_directory_path(), error) || !scratch.Fresh(root, error)) {
        std::fprintf(stderr, "bench_watch_seek: %s\n", error.c_str());
        return std::nullopt;
    }
    platform::DriveMap runDrives(root);
    platform::SystemClock clock;
    SeekingPlayer player;
    platform::WatchingWindow watcher(player, clock, keys, platform::WatchingWindow::kMinSpeed);
    Play(watcher, runDrives, seed);
    return Seek{player.wall, player.cpu, watcher.typed()};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    fs::path wholeGame = KESTRAN_SOURCE_DIR "/tests/replay/whole_game_to_the_master";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.starts_with("--runs=")) {
            runs = std::max(1, std::atoi(a.c_str() + 7));
        } else if (a.starts_with("--case=")) {
            wholeGame = a.substr(7);
        } else {
            std::fprintf(stderr, "usage: bench_watch_seek [--runs=N] [--case=DIR]\n");
            return 2;
        }
    }
    std::ifstream seedFile(wholeGame / "seed");
    uint32_t seed = 0;
    platform::KeyScript first, second;
    if (!(seedFile >> seed) || !ReadScript(wholeGame / "keys", first)) return 1;
    const bool restarted = fs::exists(wholeGame / "keys.2") && ReadScript(wholeGame / "keys.2", second);

    const fs::path home = fs::temp_directory_path() / ("kestran-bench-seek-" + std::to_string(getpid()));
    const fs::path empty = home / "empty";
    const fs::path afterFirst = home / "after-first";
    fs::create_directories(empty);
    {
        platform::DriveMap drives(afterFirst);
        platform::HeadlessWindow headless(first.keys);
        headless.SetWantsPixels(false);
        Play(headless, drives, seed);
    }
    bool ok = true;
    const auto measure = [&](const char* name, const std::vector<Event>& keys, const fs::path& drives) {
        std::vector<double> wall, cpu;
        for (int i = 0; i < runs; ++i) {
            const auto seek = SeekToTheEnd(keys, drives, seed);
            if (!seek || seek->landedAt + 1 != keys.size()) {
                std::fprintf(stderr, "bench_watch_seek: %s did not land on its last key\n", name);
                ok = false;
                return;
            }
            wall.push_back(seek->wall);
            cpu.push_back(seek->cpu);
        }
        std::printf(
            "seek to key %zu of %s (%zu keys): %.2f s wall, %.2f s CPU (%.0f keys per CPU second; medians "
            "of %d runs)\n",
            keys.size() - 1, name, keys.size(), Median(wall), Median(cpu), double(keys.size() - 1) / Median(cpu), runs);
    };
    measure("keys", first.keys, empty);
    if (restarted) measure("keys.2", second.keys, afterFirst);
    fs::remove_all(home);
    return ok ? 0 : 1;
}
