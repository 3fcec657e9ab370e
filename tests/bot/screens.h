// Screens for the bot's tests: rows of text as the game would print them.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "bot/screen.h"

namespace kestran::bot::test {

// A screen with the given text at the given rows (from column 0; blanks make the columns).
inline Screen ScreenOf(std::initializer_list<std::pair<int, std::string>> rows) {
    Screen s;
    for (const auto& [row, text] : rows)
        s.rows[std::size_t(row)] = text;
    return s;
}

}  // namespace kestran::bot::test
