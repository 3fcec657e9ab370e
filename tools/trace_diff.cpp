// Compares two traces of the headless program (--trace, --trace-accessible) and names the first
// key wait and screen row (or the accessible text) where they part, so a failing golden run says where it went astray
// before the long diff. Usage: trace_diff EXPECTED ACTUAL. Exit status 0 when equal, 1 when they differ, 2 when a file
// cannot be read.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 24;  // an entry's screen rows; an "@@ TEXT" line may follow them

bool ReadLines(const char* path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return !in.bad();
}

// "@@ N KEY"; not the "@@ TEXT" line that may follow an entry's rows.
bool IsWaitHeader(const std::string& line) {
    return line.rfind("@@ ", 0) == 0 && line.size() > 3 && line[3] >= '0' && line[3] <= '9';
}

// The wait header that `index` belongs to, and the screen row it is (0..23), or -1 for the
// header itself.
void Locate(const std::vector<std::string>& lines, std::size_t index, std::string& header, int& row) {
    header = "(before the first wait)";
    row = -1;
    for (std::size_t i = index + 1; i-- > 0;) {
        if (i < lines.size() && IsWaitHeader(lines[i])) {
            header = lines[i];
            row = static_cast<int>(index - i) - 1;
            return;
        }
    }
}

const std::string& LineOr(const std::vector<std::string>& lines, std::size_t i, const std::string& missing) {
    return i < lines.size() ? lines[i] : missing;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: trace_diff EXPECTED ACTUAL\n";
        return 2;
    }
    std::vector<std::string> expected;
    std::vector<std::string> actual;
    if (!ReadLines(argv[1], expected) || !ReadLines(argv[2], actual)) {
        std::cerr << "trace_diff: cannot read " << (expected.empty() ? argv[1] : argv[2]) << "\n";
        return 2;
    }
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    if (i == expected.size() && i == actual.size()) return 0;

    std::string header;
    int row = 0;
    Locate(i < expected.size() ? expected : actual, i, header, row);
    const std::string missing = "(the trace ends here)";
    std::ostringstream out;
    out << "first difference at line " << i + 1 << ": wait " << header.substr(3);
    if (row >= kRows) out << ", the screen's accessible text";
    if (row >= 0 && row < kRows) out << ", screen row " << row;
    out << "\n  expected: " << LineOr(expected, i, missing) << "\n  actual:   " << LineOr(actual, i, missing) << "\n";
    std::cout << out.str();
    return 1;
}
