// The program: command line, platform and the game's main body wired together.
#pragma once

#include <string>
#include <vector>

namespace kestran::app {

// Runs the program with the arguments after its name; returns the exit status (0 normal end,
// 1 fatal run-time error, 2 bad command line).
int Main(const std::string& programPath, const std::vector<std::string>& args);

}  // namespace kestran::app
