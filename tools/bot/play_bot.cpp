// The play-testing bot: plays the game headless with a player that looks at each screen and
// presses keys a player might press there, and writes the key script it played, which the
// program replays exactly (--keys-file).
//
//   play_bot [--seed=N] [--games=G] [--keys=K] [--out=SCRIPT] [--cases=DIR] [--timeout=SECONDS]
//            [--trace=FILE]
//
// Plays G games (default 1) with the seeds N, N+1, ... (default 1), each for at most K keys
// (default 1500) or until the hero dies, each in a child process with drive folders of its own.
// A game that ends in a fatal run-time error, a crash or a hang (no end within the timeout,
// default 60 s) fails: its script is kept in DIR/bot_seed_N/ (keys and seed, the form of a golden
// replay case) and the exit status is 1. --out keeps the script of the (last) game played, --trace
// its screens at every key wait in the form of the program's --trace.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "bot_window.h"
#include "game/game.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/recording.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace fs = std::filesystem;
using namespace kestran;

namespace {

struct Options {
    uint32_t seed = 1;
    int games = 1;
    long keys = 1500;
    std::string out;
    std::string cases;
    std::string trace;
    int timeoutSeconds = 60;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : arg.substr(eq + 1);
        try {
            if (name == "--seed") {
                o.seed = uint32_t(std::stoul(value));
            } else if (name == "--games") {
                o.games = std::stoi(value);
            } else if (name == "--keys") {
                o.keys = std::stol(value);
            } else if (name == "--out") {
                o.out = value;
            } else if (name == "--trace") {
                o.trace = value;
            } else if (name == "--cases") {
                o.cases = value;
            } else if (name == "--timeout") {
                o.timeoutSeconds = std::stoi(value);
            } else {
                std::cerr << "play_bot: unknown option " << arg << "\n";
                return false;
            }
        } catch (const std::exception&) {
            std::cerr << "play_bot: bad value in " << arg << "\n";
            return false;
        }
    }
    return o.games > 0 && o.keys > 0 && o.timeoutSeconds > 0;
}

bool Encode(std::string_view utf8, std::string& sjis) {
    return Utf8ToSjis(utf8, sjis);
}

// One game in this process: the exit status of the program.
int PlayOneGame(uint32_t seed, long keys, const fs::path& work, const std::string& tracePath) {
    bot::Player player(seed);
    std::ofstream trace;
    if (!tracePath.empty()) trace.open(tracePath, std::ios::binary);
    bot::BotWindow window(player, keys, Encode, tracePath.empty() ? nullptr : &trace);
    std::ofstream script(work / "keys", std::ios::binary);
    script << std::unitbuf;  // a crash must not lose the keys that led to it
    platform::RecordingWindow recorder(window, script, seed, Encode);
    platform::DriveMap drives(work / "drives");
    platform::FileErrorLog errorLog(work / "error.log");
    platform::SystemClock clock;
    platform::Platform p;
    p.window = &recorder;
    p.clock = &clock;
    p.drives = &drives;
    p.errorLog = &errorLog;
    Runtime rt(p);
    const int status = RunProgram(rt, [seed](Runtime& r) { game::RunGame(r, seed); });
    std::ofstream summary(work / "summary");
    summary << (player.HeroDied() ? "died" : "alive") << " deepest floor " << player.DeepestFloor();
    if (!window.message().empty()) summary << "; " << window.message();
    return status;
}

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

enum class Outcome { Passed, Fatal, Crashed, Hung };

Outcome RunChild(uint32_t seed, const Options& o, const fs::path& work) {
    const pid_t child = fork();
    if (child < 0) {
        std::perror("play_bot: fork");
        std::exit(2);
    }
    if (child == 0) _exit(PlayOneGame(seed, o.keys, work, o.trace));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(o.timeoutSeconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return Outcome::Hung;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFSIGNALED(status)) return Outcome::Crashed;
    return WEXITSTATUS(status) == kExitNormal ? Outcome::Passed : Outcome::Fatal;
}

const char* Describe(Outcome o) {
    switch (o) {
        case Outcome::Passed:
            return "ok";
        case Outcome::Fatal:
            return "FATAL RUN-TIME ERROR";
        case Outcome::Crashed:
            return "CRASHED";
        case Outcome::Hung:
            return "HUNG";
    }
    return "?";
}

void KeepCase(const Options& o, uint32_t seed, const fs::path& work) {
    const fs::path dir = fs::path(o.cases) / ("bot_seed_" + std::to_string(seed));
    fs::create_directories(dir);
    fs::copy_file(work / "keys", dir / "keys", fs::copy_options::overwrite_existing);
    std::ofstream(dir / "seed") << seed << "\n";
    std::cout << "  kept as " << dir.string() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::cerr << "usage: play_bot [--seed=N] [--games=G] [--keys=K] [--out=SCRIPT] [--cases=DIR] [--timeout=S]\n";
        return 2;
    }
    const fs::path root = fs::temp_directory_path() / ("kestran_bot_" + std::to_string(getpid()));
    int failures = 0;
    for (int g = 0; g < o.games; ++g) {
        const uint32_t seed = o.seed + uint32_t(g);
        const fs::path work = root / std::to_string(seed);
        fs::create_directories(work / "drives");
        const Outcome outcome = RunChild(seed, o, work);
        std::cout << "seed " << seed << ": " << Describe(outcome) << " (" << ReadText(work / "summary") << ")\n";
        if (!o.out.empty()) fs::copy_file(work / "keys", o.out, fs::copy_options::overwrite_existing);
        if (outcome != Outcome::Passed) {
            ++failures;
            if (!o.cases.empty()) KeepCase(o, seed, work);
        }
        fs::remove_all(work);
    }
    fs::remove_all(root);
    std::cout << o.games - failures << " of " << o.games << " games ended well\n";
    return failures == 0 ? 0 : 1;
}
