// The few statement shapes every screen of the game is made of: a PRINT at a cell, a PRINT on the
// line under the previous one, a key read and compared. Each forwards the calling line, so a
// run-time error names the screen's own statement.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <source_location>
#include <string_view>

#include "game/game.h"
#include "runtime/values/sjis.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::game {

// One item of a PRINT statement: a string, or a number printed as PRINT writes a single
// variable (sign blank, digits, one trailing blank). Items stay separate because printing
// places each one on its own: an item that does not fit the rest of a row starts the next row.
struct PrintItem {
    PrintItem(std::string_view s) : text(s) {}         // NOLINT(google-explicit-constructor)
    PrintItem(const char* s) : text(s) {}              // NOLINT(google-explicit-constructor)
    PrintItem(const PbString& s) : text(s) {}          // NOLINT(google-explicit-constructor)
    PrintItem(float v) : number(v), isNumber(true) {}  // NOLINT(google-explicit-constructor)
    template <std::size_t N>
    PrintItem(const SjisLiteral<N>& s) : text(s.view()) {}  // NOLINT(google-explicit-constructor)

    std::string_view text;
    float number = 0;
    bool isNumber = false;
};

// LOCATE x, y: PRINT items joined by ";", ending the line.
void PrintAt(Game& g, double x, double y, std::initializer_list<PrintItem> items,
             std::source_location where = std::source_location::current());
// PRINT items joined by ";", ending the line (on the row under the previous PRINT, from column 0).
void PrintLine(Game& g, std::initializer_list<PrintItem> items,
               std::source_location where = std::source_location::current());

// The key hints of a menu: one PRINT a row at column 55, from `firstRow` down.
void PrintChoices(Game& g, double firstRow, std::initializer_list<PrintItem> choices,
                  std::source_location where = std::source_location::current());

// CLS
void ClearScreen(Game& g, std::source_location where = std::source_location::current());

// INPUT$(1): the next key, one byte.
PbString ReadKey(Game& g, std::source_location where = std::source_location::current());
// A key read and thrown away, after "何かキーを押して下さい" and its kin.
void WaitForKey(Game& g, std::source_location where = std::source_location::current());
// The key is the letter `upper` in either case.
bool IsKey(std::string_view key, char upper);

enum class Answer { Yes, No };
// Reads keys until "Y" or "N" (either case); every other key is ignored.
Answer ReadYesNo(Game& g, std::source_location where = std::source_location::current());

}  // namespace kestran::game
