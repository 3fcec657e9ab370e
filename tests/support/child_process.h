// Processes that tests and benchmarks start: none outlives the process that started it, however
// that one ends. Each child leads a session, and so a process group, of its own, so whatever it
// starts in turn (a shell's program, Xvfb's keymap compiler) is killed with it; and the kernel
// kills the child when its parent dies first (killed, crashed, or gone through exit() from a
// library's error handler). The scheduler shares a loaded machine out by session, so a server
// started here (Xvfb, tmux) also keeps up with the program it serves rather than share the
// test's part with whatever else the test's session runs.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kestran::testing {

// fork() for a child that the kernel kills (SIGKILL) when this process dies. The signal follows
// the thread that forks, so fork from the thread that outlives the child. A child whose parent
// died before the request took hold ends at once.
inline pid_t ForkDyingWithParent() {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0 && (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent)) _exit(127);
    return pid;
}

// Starts `argv` (looked up on PATH) with `env` ("NAME=value") added to the environment;
// `keepFd` stays open in the child and, with `quiet`, its output goes to /dev/null. The child's
// pid, or -1. Everything is prepared before the fork, so the child only makes system calls.
inline pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}, int keepFd = -1,
                        bool quiet = false) {
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const auto& added : env)
            replaced = replaced || added.starts_with(name);
        if (!replaced) entries.push_back(entry);
    }
    entries.insert(entries.end(), env.begin(), env.end());
    std::vector<char*> args;
    std::vector<char*> envp;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    for (const auto& e : entries)
        envp.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    envp.push_back(nullptr);

    const pid_t pid = ForkDyingWithParent();
    if (pid == 0) {
        setsid();
        if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
        if (quiet) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
        }
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// Signals the group that `pid` leads, and `pid` itself in case it has not yet made its group.
inline void SignalGroup(pid_t pid, int signal) {
    kill(-pid, signal);
    kill(pid, signal);
}

// Kills the group that `pid` leads and reaps `pid`. The group is killed before the leader is
// reaped, while its pid cannot yet name another process's group.
inline int KillGroup(pid_t pid) {
    SignalGroup(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// A child process of a test: ended with its group when the test lets go of it.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { Kill(); }

    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}, int keepFd = -1) {
        Kill();
        pid_ = SpawnChild(argv, env, keepFd);
        return pid_ > 0;
    }
    // The exit status (128 + the signal for a killed child), or nothing when it is still running
    // after `limit`. An ended child's group goes with it.
    std::optional<int> Wait(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
            if (pid_ <= 0) return status_;
            siginfo_t info{};
            if (waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_) {
                const int raw = KillGroup(pid_);
                pid_ = -1;
                status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
                return status_;
            }
            if (std::chrono::steady_clock::now() >= end) return std::nullopt;
        }
    }
    // Whether the child has ended (its status is then Wait's answer).
    bool Ended() { return Wait(std::chrono::milliseconds(0)).has_value(); }
    void Kill() {
        if (pid_ > 0) KillGroup(pid_);
        pid_ = -1;
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Runs a shell command line to its end, or kills it after `limit`: its exit status, or nothing.
// Prefix a single program with "exec " so that it is the child itself.
inline std::optional<int> RunCommand(const std::string& command,
                                     std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    Child shell;
    if (!shell.Start({"/bin/sh", "-c", command})) return std::nullopt;
    return shell.Wait(limit);
}

}  // namespace kestran::testing
