// Process helpers shared by the benchmark programs: start a program, stop it, and read what the
// kernel counts for it (CPU ticks, peak resident memory, wall time). A program started here dies
// with the benchmark, whatever way the benchmark ends.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"

namespace kestran::bench {

inline long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts `argv` with `env` added to the environment; with `quiet` its output goes to /dev/null.
inline pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool quiet = false) {
    return kestran::testing::SpawnChild(argv, env, -1, quiet);
}

// Ends a program that is still running, with what it started: SIGTERM, then SIGKILL after two
// seconds.
inline void Stop(pid_t pid) {
    kestran::testing::SignalGroup(pid, SIGTERM);
    siginfo_t info{};
    for (int i = 0; i < 200; ++i) {
        if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kestran::testing::KillGroup(pid);
}

struct Finished {
    int status = -1;        // the exit status, or 128 + the signal
    long peakKb = 0;        // peak resident memory
    double seconds = 0;     // wall time
    double cpuSeconds = 0;  // user + system time: what other programs on the machine do not change
};

// Runs `argv` to its end.
inline Finished Run(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}) {
    Finished f;
    const long long start = NowNs();
    const pid_t pid = Spawn(argv, env, true);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return f;
    f.seconds = static_cast<double>(NowNs() - start) / 1e9;
    f.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    f.peakKb = usage.ru_maxrss;
    const auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    f.cpuSeconds = toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
    return f;
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// utime + stime of a process, in clock ticks.
inline long long CpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.rfind(')') == std::string::npos) return 0;
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

// The share of one core a running process uses over `seconds`, in per cent.
inline double IdleCpuPercent(pid_t pid, int seconds) {
    const long long before = CpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const long long after = CpuTicks(pid);
    return 100.0 * static_cast<double>(after - before) / (static_cast<double>(sysconf(_SC_CLK_TCK)) * seconds);
}

// The peak resident memory of a running process, from /proc (VmHWM), in KiB.
inline long PeakKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

}  // namespace kestran::bench
