#include "game/game_screen.h"

#include "game/language/fit_check.h"
#include "game/language/translate.h"
#include "runtime/console/keyboard.h"
#include "runtime/console/screen.h"
#include "runtime/runtime.h"

namespace kestran::game {
namespace {

constexpr double kChoiceColumn = 55;

// A translated text where its Japanese stood, watched by the fit check when there is one.
void PrintShown(Game& g, std::size_t japaneseWidth, std::string_view shown, PbSep sep, std::source_location where) {
    if (g.fitCheck != nullptr) g.fitCheck->BeforePrint(g.rt, japaneseWidth, shown);
    PbPrintString(g.rt, shown, sep, where);
    if (g.fitCheck != nullptr) g.fitCheck->AfterPrint(g.rt);
}

}  // namespace

void PrintLine(Game& g, std::initializer_list<PrintItem> items, std::source_location where) {
    if (g.catalogue != nullptr) {
        if (const auto message = TranslateMessage(g, items))
            return PrintShown(g, JapaneseWidth(items), *message, PbSep::End, where);
    }
    std::size_t left = items.size();
    for (const PrintItem& item : items) {
        const PbSep sep = --left == 0 ? PbSep::End : PbSep::Semicolon;
        if (item.isNumber) {
            PbPrintNumber(g.rt, item.number, sep, where);
        } else if (g.catalogue != nullptr) {
            PrintShown(g, item.text.size(), Tr(g, item.text), sep, where);
        } else {
            PbPrintString(g.rt, item.text, sep, where);
        }
    }
}

void PrintAt(Game& g, double x, double y, std::initializer_list<PrintItem> items, std::source_location where) {
    PbLocate(g.rt, x, y, where);
    PrintLine(g, items, where);
}

void PrintChoices(Game& g, double firstRow, std::initializer_list<PrintItem> choices, std::source_location where) {
    double row = firstRow;
    for (const PrintItem& choice : choices)
        PrintAt(g, kChoiceColumn, row++, {choice}, where);
}

void ClearScreen(Game& g, std::source_location where) {
    PbCls(g.rt, 0, where);
    if (g.fitCheck != nullptr) g.fitCheck->Cleared();
}

PbString ReadKey(Game& g, std::source_location where) {
    return PbInputChars(g.rt, 1, where);
}

void WaitForKey(Game& g, std::source_location where) {
    PbInputChars(g.rt, 1, where);
}

bool IsKey(std::string_view key, char upper) {
    const char lower = static_cast<char>(upper - 'A' + 'a');
    return key.size() == 1 && (key[0] == upper || key[0] == lower);
}

Answer ReadYesNo(Game& g, std::source_location where) {
    for (;;) {
        const PbString key = ReadKey(g, where);
        if (IsKey(key, 'Y')) return Answer::Yes;
        if (IsKey(key, 'N')) return Answer::No;
    }
}

}  // namespace kestran::game
