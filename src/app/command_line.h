// The program's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestran::app {

struct CommandLine {
    std::string backend;  // empty: the default
    std::optional<uint32_t> seed;
    std::string drivesRoot;                               // --drives
    std::vector<std::pair<char, std::string>> driveMaps;  // --drive=X=DIR
    std::optional<std::string> keys;                      // --keys: a script on the command line
    std::optional<std::string> keysFile;                  // --keys-file
    std::string dumpText;
    std::string dumpPng;
    std::string trace;
    std::string record;
    std::string watch;  // --watch: a key script to watch before playing on
    int speed = 0;      // --speed: keys per second while watching; 0: the default
    std::string font;
    std::string language;  // --language: "ja" or "en"; empty: chosen as app.cpp says
    int scale = 0;         // 0: the largest that fits
    bool fullscreen = false;
    bool traceAccessible = false;  // --trace-accessible: the trace carries the screen's words
    bool screenReader = false;     // --screen-reader: the terminal speaks in words, not braille
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name. Options take their value as "--name=VALUE" or as
// the next argument. False with a message for an unknown option, a missing or bad value, or
// options that exclude each other.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// The text of --help: every option, the keys a player needs outside the game's own screens,
// the files read and written, the exit status.
std::string UsageText();
// The text of --version.
std::string VersionText();
// What a bad command line is told after its error: where the usage is.
inline constexpr const char* kTryHelp = "Try 'kestran --help' for more information.\n";

}  // namespace kestran::app
