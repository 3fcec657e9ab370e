// The yardstick of the replay-speed budget: a program that only reads a key script and parses it
// as the game's own start does, then ends. Prints the number of keys.
// Usage: bench_parse_keys SCRIPT
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/recording.h"
#include "runtime/values/sjis.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_parse_keys SCRIPT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    kestran::platform::KeyScript script;
    std::string error;
    const auto encode = [](std::string_view utf8, std::string& sjis) { return kestran::Utf8ToSjis(utf8, sjis); };
    if (!in.good() && !in.eof()) return 1;
    if (!kestran::platform::ParseKeyScript(text, true, encode, script, error)) {
        std::fprintf(stderr, "bench_parse_keys: %s\n", error.c_str());
        return 1;
    }
    std::printf("%zu\n", script.keys.size());
    return 0;
}
