// The play-testing bot: plays the game headless with a player that looks at each screen and
// presses keys a player might press there, and writes the key script it played, which the
// program replays exactly (--keys-file).
//
//   play_bot [--seed=N] [--games=G] [--keys=K] [--out=SCRIPT] [--cases=DIR] [--timeout=SECONDS]
//            [--trace=FILE] [--campaign] [--master-level=L] [--master-hp=H]
//            [--restart-after=K]
//
// Plays G games (default 1) with the seeds N, N+1, ... (default 1), each for at most K keys
// (default 1500) or until the hero dies, each in a child process with drive folders of its own.
// A game that ends in a fatal run-time error, a crash or a hang (no end within the timeout,
// default 60 s) fails: its script is kept in DIR/bot_seed_N/ (keys and seed, the form of a golden
// replay case) and the exit status is 1. --out keeps the script of the (last) game played, --trace
// its screens at every key wait in the form of the program's --trace.
//
// --campaign plays a whole game with the campaign player instead (see campaign.h), which goes
// down to the master from level L (default 26) with H hit points (default 500) and, after K keys (default 3000), writes
// the diary and closes the program; the game then goes on in a second run of the program on the same drives, whose keys
// (and trace) are kept beside the first as SCRIPT.2 (FILE.2). A golden replay case takes them as keys and keys.2.
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
#include "campaign.h"
#include "game/game.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/recording.h"
#include "player.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"
#include "support/child_process.h"

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
    bool campaign = false;
    bot::CampaignPlan plan;
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
            } else if (name == "--campaign") {
                o.campaign = true;
            } else if (name == "--master-level") {
                o.plan.masterLevel = std::stoi(value);
            } else if (name == "--companion-once") {
                o.plan.alwaysCompanion = false;
            } else if (name == "--master-hp") {
                o.plan.masterHp = std::stoi(value);
            } else if (name == "--restart-after") {
                o.plan.restartAfterKeys = std::stol(value);
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

// One run of the program on the drives in `work`, its keys written to `keysPath`: the exit
// status of the program and the keys left of the budget.
int RunOnce(bot::Strategy& player, uint32_t seed, long& keys, const fs::path& work, const fs::path& keysPath,
            const std::string& tracePath, std::string& message) {
    std::ofstream trace;
    if (!tracePath.empty()) trace.open(tracePath, std::ios::binary);
    bot::BotWindow window(player, keys, Encode, tracePath.empty() ? nullptr : &trace);
    std::ofstream script(keysPath, std::ios::binary);
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
    keys = window.keysLeft();
    if (message.empty()) message = window.message();
    return status;
}

// One game in this process: the exit status of the program.
int PlayOneGame(uint32_t seed, const Options& o, const fs::path& work) {
    long keys = o.keys;
    std::string message;
    std::ofstream summary(work / "summary");
    if (!o.campaign) {
        bot::Player player(seed);
        const int status = RunOnce(player, seed, keys, work, work / "keys", o.trace, message);
        summary << (player.HeroDied() ? "died" : "alive") << " deepest floor " << player.DeepestFloor();
        if (!message.empty()) summary << "; " << message;
        return status;
    }
    bot::CampaignPlayer player(seed, o.plan);
    int status = RunOnce(player, seed, keys, work, work / "keys", o.trace, message);
    if (status == kExitNormal && player.WantsRestart()) {
        player.Restarted();
        const std::string trace2 = o.trace.empty() ? std::string() : o.trace + ".2";
        status = RunOnce(player, seed, keys, work, work / "keys.2", trace2, message);
    }
    summary << (player.HeroDied() ? "died" : "alive") << " deepest floor " << player.DeepestFloor() << " level "
            << player.Level() << (player.FoughtMaster() ? ", fought the master" : "") << ", " << o.keys - keys
            << " keys";
    if (!message.empty()) summary << "; " << message;
    return status;
}

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

enum class Outcome { Passed, Fatal, Crashed, Hung };

Outcome RunChild(uint32_t seed, const Options& o, const fs::path& work) {
    const pid_t child = kestran::testing::ForkDyingWithParent();
    if (child < 0) {
        std::perror("play_bot: fork");
        std::exit(2);
    }
    if (child == 0) _exit(PlayOneGame(seed, o, work));
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
    if (fs::exists(work / "keys.2"))
        fs::copy_file(work / "keys.2", dir / "keys.2", fs::copy_options::overwrite_existing);
    std::ofstream(dir / "seed") << seed << "\n";
    std::cout << "  kept as " << dir.string() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::cerr << "usage: play_bot [--seed=N] [--games=G] [--keys=K] [--out=SCRIPT] [--cases=DIR] [--timeout=S]"
                     " [--trace=FILE] [--campaign] [--master-level=L] [--master-hp=H] [--restart-after=K]\n";
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
        if (!o.out.empty()) {
            fs::copy_file(work / "keys", o.out, fs::copy_options::overwrite_existing);
            if (fs::exists(work / "keys.2")) {
                fs::copy_file(work / "keys.2", o.out + ".2", fs::copy_options::overwrite_existing);
            }
        }
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
