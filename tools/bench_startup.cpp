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

namespace {

using namespace std::chrono_literals;

struct Options {
    int runs = 10;
    int scale = 2;
    int idleSeconds = 10;
    std::string program = KESTRAN_PROGRAM;
    std::string minimal = KESTRAN_MINIMAL_SDL;
    std::string probe = KESTRAN_STARTUP_PROBE;
};

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const auto& e : env)
        putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

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

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// utime + stime of a process, in clock ticks.
long long CpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields after it are counted from its ")".
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long long utime = 0;
    long long stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) {
            stime = std::stoll(field);
            break;
        }
    }
    return utime + stime;
}

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
    const long long before = CpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::seconds(options.idleSeconds));
    const long long after = CpuTicks(pid);
    Stop(pid);
    const double percent =
        100.0 * static_cast<double>(after - before) / (static_cast<double>(sysconf(_SC_CLK_TCK)) * options.idleSeconds);
    std::printf("idle at the title screen: %lld ticks in %d s = %.2f%% of one core\n", after - before,
                options.idleSeconds, percent);
    return ratio <= 2.0 && percent < 1.0 ? 0 : 1;
}
