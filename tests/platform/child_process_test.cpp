// The tests' own child processes: none may hold a test run's output open after its test ended.
#include "support/child_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace kestran::testing {
namespace {

using namespace std::chrono_literals;

// Whether `pid` still runs (a zombie waiting for its reaper does not).
bool Runs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const auto end = stat.rfind(')');
    return end != std::string::npos && stat.size() > end + 2 && stat[end + 2] != 'Z';
}

bool EndsSoon(pid_t pid) {
    for (const auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(20ms)) {
        if (!Runs(pid)) return true;
    }
    return false;
}

pid_t ReadPid(int fd) {
    std::string text;
    for (char c = 0; read(fd, &c, 1) == 1 && c != '\n';)
        text += c;
    return text.empty() ? -1 : std::stoi(text);
}

TEST(ChildProcessTest, WhatAChildStartedEndsWithItsGroup) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    Child shell;
    ASSERT_TRUE(shell.Start({"sh", "-c", "sleep 60 & echo $! >&" + std::to_string(fds[1]) + "; wait"}, {}, fds[1]));
    close(fds[1]);
    const pid_t sleeper = ReadPid(fds[0]);
    ASSERT_GT(sleeper, 0);
    EXPECT_TRUE(Runs(sleeper));
    shell.Kill();
    EXPECT_TRUE(EndsSoon(sleeper));
    close(fds[0]);
}

TEST(ChildProcessTest, AChildDiesWithAKilledTestProcess) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    const pid_t test = ForkDyingWithParent();  // stands in for a test process
    ASSERT_GE(test, 0);
    if (test == 0) {
        Child child;
        child.Start({"sleep", "60"});
        const std::string pid = std::to_string(child.pid()) + "\n";
        if (write(fds[1], pid.data(), pid.size()) < 0) _exit(1);
        pause();
        _exit(0);
    }
    close(fds[1]);
    const pid_t child = ReadPid(fds[0]);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(Runs(child));
    kill(test, SIGKILL);
    waitpid(test, nullptr, 0);
    EXPECT_TRUE(EndsSoon(child));
    close(fds[0]);
}

}  // namespace
}  // namespace kestran::testing
