#include "reading.h"

#include <cstdlib>
#include <cstring>

namespace kestran::bot {

std::string Trimmed(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    const std::size_t begin = text.find_first_not_of(' ');
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

std::vector<ListedEntry> ListedEntries(const Screen& s) {
    std::vector<ListedEntry> entries;
    for (const std::string& row : s.rows) {
        const std::size_t at = row.find("( ");
        if (at == std::string::npos || at + 4 >= row.size()) continue;
        const char d = row[at + 2];
        if (d < '0' || d > '9' || row[at + 3] != ' ' || row[at + 4] != ')') continue;
        entries.push_back({d - '0', Trimmed(row.substr(at + 5))});
    }
    return entries;
}

std::vector<int> ListedDigits(const Screen& s) {
    std::vector<int> digits;
    for (const ListedEntry& e : ListedEntries(s))
        digits.push_back(e.digit);
    return digits;
}

int DigitOfEntry(const Screen& s, const std::string& name) {
    for (const ListedEntry& e : ListedEntries(s)) {
        if (e.name == name) return e.digit;
    }
    return -1;
}

bool PointsOf(const Screen& s, const char* label, long& now, long& max) {
    const int r = s.RowOf(label);
    if (r < 0) return false;
    const std::string& row = s.rows[std::size_t(r)];
    const std::size_t slash = row.find('/', row.find(label));
    const auto n = s.NumberAfter(std::string(label, std::strlen(label) - 2));
    if (!n || slash == std::string::npos) return false;
    now = *n;
    max = std::strtol(row.c_str() + slash + 1, nullptr, 10);
    return max > 0;
}

}  // namespace kestran::bot
