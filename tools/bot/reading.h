// Figures and lists the bot reads off the screen, shared by its players.
#pragma once

#include <string>
#include <vector>

#include "explorer.h"
#include "screen.h"

namespace kestran::bot {

// One numbered entry of a list on the screen ("( 3 )name" or "( 3 )  name").
struct ListedEntry {
    int digit = 0;
    std::string name;  // the text after the parenthesis, blanks trimmed
};
std::vector<ListedEntry> ListedEntries(const Screen& s);
// The digits of the numbered entries listed on the screen, in screen order.
std::vector<int> ListedDigits(const Screen& s);
// The digit of the first listed entry named `name`, or -1.
int DigitOfEntry(const Screen& s, const std::string& name);

// The figures of a "HP    ###/###" line: points now and the maximum (likewise "MP", "TP").
bool PointsOf(const Screen& s, const char* label, long& now, long& max);
inline bool HitPoints(const Screen& s, long& now, long& max) {
    return PointsOf(s, "HP  ", now, max);
}

std::string Trimmed(const std::string& text);

// Counts the key waits in a row at which neither the screen nor the hero's place changed (the
// corridor is drawn, not written, so walking leaves the text alone and the place must count).
class StuckCounter {
public:
    int Update(const Screen& s, const Position& at) {
        const bool samePlace =
            at.floor == lastAt_.floor && at.x == lastAt_.x && at.y == lastAt_.y && at.facing == lastAt_.facing;
        same_ = s == last_ && samePlace ? same_ + 1 : 0;
        last_ = s;
        lastAt_ = at;
        return same_;
    }

private:
    Screen last_;
    Position lastAt_;
    int same_ = 0;
};

}  // namespace kestran::bot
