// Start-up and idle benchmark of the SDL window, in one run (needs a display: xvfb-run -a):
//  1. time from process start to the first presented frame, for the game and for the minimal
//     SDL2 program beside it (median of --runs each, alternating); the probe library, preloaded,
//     notes the first SDL_RenderPresent;
//  2. the game's CPU use at the title screen over --idle-seconds (utime + stime from
//     /proc/<pid>/stat).
// Exit status 0 when the game starts within 2x the minimal program's time and idles below 1%.
//
// Usage: bench_startup [--runs=N] [--scale=N] [--idle-seconds=N]
//                      [--program=PATH] [--minimal=PATH] [--probe=PATH]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_process.h"

namespace {

using namespace std::chrono_literals;
using kestran::bench::Median;
using kestran::bench::NowNs;
using kestran::bench::Spawn;
using kestran::bench::Stop;

struct Options {
    int runs = 10;
    int scale = 2;
    int idleSeconds = 10;
    std::string program = KESTRAN_PROGRAM;
    std::string minimal = KESTRAN_MINIMAL_SDL;
    std::string probe = KESTRAN_STARTUP_PROBE;
};

std::optional<long long> ReadProbe(const std::filesystem::path& file) {
    std::ifstream in(file);
    long long ns = 0;
    if (in >> ns) return ns;
    return std::nullopt;
}

std::optional<long long> WaitForProbe(const std::filesystem::path& file, pid_t pid) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
        if (auto ns = ReadProbe(file)) return ns;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return ReadProbe(file);
        std::this_thread::sleep_for(1ms);
    }
    return std::nullopt;
}

class Bench {
public:
    explicit Bench(Options options) : o_(std::move(options)) {
        home_ = std::filesystem::temp_directory_path() / ("kestran-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(home_);
        probeFile_ = home_ / "first-present";
    }
    ~Bench() { std::filesystem::remove_all(home_); }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    // Milliseconds from the fork to the first present; the game is left running when `keep`.
    std::optional<double> Measure(bool game, pid_t* keep = nullptr) {
        std::filesystem::remove(probeFile_);
        const std::vector<std::string> env{"LD_PRELOAD=" + o_.probe, "KESTRAN_PROBE_FILE=" + probeFile_.string(),
                                           "XDG_STATE_HOME=" + home_.string(), "XDG_CONFIG_HOME=" + home_.string(),
                                           "SDL_AUDIODRIVER=dummy"};
        const long long start = NowNs();
        const pid_t pid =
            game ? Spawn({o_.program, "--backend=sdl", "--seed=1", "--scale=" + std::to_string(o_.scale),
                          "--drives=" + (home_ / "drives").string()},
                         env)
                 : Spawn({o_.minimal, std::to_string(640 * o_.scale), std::to_string(432 * o_.scale)}, env);
        const auto at = WaitForProbe(probeFile_, pid);
        if (keep && at) {
            *keep = pid;
        } else {
            Stop(pid);
        }
        if (!at) return std::nullopt;
        return static_cast<double>(*at - start) / 1e6;
    }

    const Options& options() const { return o_; }

private:
    Options o_;
    std::filesystem::path home_;
    std::filesystem::path probeFile_;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = a.substr(a.find('=') + 1);
        if (a.rfind("--runs=", 0) == 0) {
            o.runs = std::max(1, std::atoi(value.c_str()));
        } else if (a.rfind("--scale=", 0) == 0) {
            o.scale = std::max(1, std::atoi(value.c_str()));
        } else if (a.rfind("--idle-seconds=", 0) == 0) {
            o.idleSeconds = std::max(1, std::atoi(value.c_str()));
        } else if (a.rfind("--program=", 0) == 0) {
            o.program = value;
        } else if (a.rfind("--minimal=", 0) == 0) {
            o.minimal = value;
        } else if (a.rfind("--probe=", 0) == 0) {
            o.probe = value;
        } else {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return 2;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "bench_startup needs a display: run it under xvfb-run -a\n");
        return 2;
    }
    Bench bench(options);
    std::vector<double> game;
    std::vector<double> minimal;
    for (int i = 0; i < options.runs; ++i) {
        if (auto ms = bench.Measure(false)) minimal.push_back(*ms);
        if (auto ms = bench.Measure(true)) game.push_back(*ms);
    }
    if (game.empty() || minimal.empty()) {
        std::fprintf(stderr, "no frame was presented (game %zu, minimal %zu runs)\n", game.size(), minimal.size());
        return 1;
    }
    const double ratio = Median(game) / Median(minimal);
    std::printf("first frame: game %.1f ms, minimal SDL2 program %.1f ms (medians of %zu/%zu runs): %.2fx\n",
                Median(game), Median(minimal), game.size(), minimal.size(), ratio);

    pid_t pid = 0;
    if (!bench.Measure(true, &pid)) return 1;
    std::this_thread::sleep_for(1s);  // the title screen settles into its key wait
    const double percent = kestran::bench::IdleCpuPercent(pid, options.idleSeconds);
    Stop(pid);
    std::printf("idle at the title screen: %.2f%% of one core over %d s\n", percent, options.idleSeconds);
    return ratio <= 2.0 && percent < 1.0 ? 0 : 1;
}
