// Replays a fuzz target's corpus without libFuzzer: every file in the folders or files named on
// the command line is handed to the target. With --random=N, N more inputs made from a fixed
// seed follow: random bytes, and corpus files with bytes changed, cut, doubled or inserted, so
// that every build tries the same few hundred inputs beyond the corpus. Then all of them run
// again in the opposite order, and a target whose session records its runs must give every
// input the same record as the first time, though another input ran before it: nothing of one
// input may reach the next. Exits 2 when a path cannot be read, 3 when an input's second run
// differs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fuzz_game_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

// Runs one input and gives a digest of its record (0 for a target that records nothing).
std::size_t Run(const Bytes& bytes) {
    kestran::fuzz::lastRecord.clear();
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return std::hash<std::string>{}(kestran::fuzz::lastRecord);
}

bool Read(const std::filesystem::path& file, Bytes& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

// One input from the generator: fresh bytes, or a corpus file changed in one to eight places.
Bytes RandomInput(std::mt19937& gen, const std::vector<Bytes>& corpus) {
    auto below = [&gen](std::size_t n) { return n == 0 ? 0 : std::size_t(gen() % n); };
    Bytes b;
    if (corpus.empty() || gen() % 4 == 0) {
        b.resize(below(512));
        for (auto& c : b)
            c = uint8_t(gen());
        return b;
    }
    b = corpus[below(corpus.size())];
    for (std::size_t edits = 1 + below(8); edits > 0; --edits) {
        const std::size_t at = below(b.size() + 1);
        switch (gen() % 4) {
            case 0:  // a byte changed
                if (at < b.size()) b[at] = uint8_t(gen());
                break;
            case 1:  // cut short
                b.resize(at);
                break;
            case 2:  // a stretch repeated
            {
                const Bytes stretch(b.begin() + long(below(at + 1)), b.begin() + long(at));
                b.insert(b.begin() + long(at), stretch.begin(), stretch.end());
            } break;
            default:  // a byte that is hard on text inserted
                static constexpr uint8_t kHard[] = {',', ':', '"', '\r', '\n', 0x1A, 0, 0x81, 0x82, 0xE0, 0xFC, '-'};
                b.insert(b.begin() + long(at), kHard[below(std::size(kHard))]);
                break;
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    kestran::fuzz::recordRuns = true;
    long randomInputs = 0;
    std::vector<Bytes> corpus;
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--random=")) {
            randomInputs = std::stol(arg.substr(9));
            continue;
        }
        std::filesystem::path path = arg;
        std::error_code ec;
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());  // the same order, so the same random inputs
        } else {
            files.push_back(path);
        }
        for (const auto& file : files) {
            Bytes bytes;
            if (!Read(file, bytes)) {
                std::fprintf(stderr, "cannot read %s\n", file.c_str());
                return 2;
            }
            corpus.push_back(std::move(bytes));
            names.push_back(file.string());
        }
    }
    std::vector<Bytes> inputs = corpus;
    std::mt19937 gen(20240506);
    for (long i = 0; i < randomInputs; ++i) {
        inputs.push_back(RandomInput(gen, corpus));
        names.push_back("input " + std::to_string(inputs.size()) + " made from the fixed seed");
    }
    std::vector<std::size_t> records;
    for (const Bytes& input : inputs)
        records.push_back(Run(input));
    for (std::size_t i = inputs.size(); i-- > 0;) {
        if (Run(inputs[i]) != records[i]) {
            std::fprintf(stderr, "%s ran differently the second time, after another input\n", names[i].c_str());
            return 3;
        }
    }
    std::printf("replayed %zu inputs and %ld made from a fixed seed, twice\n", corpus.size(), randomInputs);
    return corpus.empty() ? 1 : 0;
}
