#include "game/language/fit_check.h"

#include <algorithm>

#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace kestran::game {
namespace {

const ScreenRow& RowAt(const Runtime& rt, int row) {
    return rt.console.screen.rows[static_cast<std::size_t>(row)];
}

bool Blank(const ScreenRow& cells, int from, int to) {
    for (int c = std::max(from, 0); c < std::min(to, kScreenColumns); ++c) {
        const uint8_t b = cells.chars[static_cast<std::size_t>(c)];
        if (b != ' ' && b != 0) return false;
    }
    return true;
}

// What a row holds in cells [from, to), as text.
std::string CellsText(const ScreenRow& cells, int from, int to) {
    std::string bytes;
    for (int c = from; c < std::min(to, kScreenColumns); ++c)
        bytes += static_cast<char>(cells.chars[static_cast<std::size_t>(c)]);
    return SjisToUtf8(bytes);
}

// How many of `bytes`, from cell `from` on, the row still holds.
int CellsHeld(const ScreenRow& cells, int from, std::string_view bytes) {
    int held = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        held += cells.chars[static_cast<std::size_t>(from) + i] == static_cast<uint8_t>(bytes[i]) ? 1 : 0;
    return held;
}

}  // namespace

void FitCheck::BeforePrint(const Runtime& rt, std::size_t japaneseWidth, std::string_view shown) {
    const int row = rt.console.text.cursorRow;
    const int column = rt.console.text.cursorColumn;
    const int end = column + static_cast<int>(shown.size());
    const int japaneseEnd = column + static_cast<int>(japaneseWidth);
    const ScreenRow& cells = RowAt(rt, row);
    pending_ = Overhang{};
    if (end > kScreenColumns) return Fault(row, shown, "runs past the right edge");
    if (end <= japaneseEnd) return;
    // Text under the longer part that goes on past it would show beside the translation.
    if (!Blank(cells, japaneseEnd, end) && !Blank(cells, end, end + 1))
        return Fault(row, shown, "writes over \"" + CellsText(cells, japaneseEnd, end + 1) + "\"");
    pending_ = Overhang{row, column, japaneseEnd - column, std::string(shown)};
}

void FitCheck::AfterPrint(const Runtime& rt) {
    // A text printed later that covers a translation's head but leaves its longer part standing
    // makes one garbled text; one that replaces the longer part, or a clear, ends the watch.
    std::erase_if(overhangs_, [&](const Overhang& o) {
        const ScreenRow& cells = RowAt(rt, o.row);
        const std::string_view tail = std::string_view(o.text).substr(std::size_t(o.japaneseWidth));
        const int tailHeld = CellsHeld(cells, o.column + o.japaneseWidth, tail);
        if (CellsHeld(cells, o.column, o.text) == static_cast<int>(o.text.size())) return false;
        if (tailHeld > 0)
            Fault(o.row, o.text,
                  "is partly written over: \"" + CellsText(cells, o.column, o.column + int(o.text.size())) + "\"");
        return true;
    });
    if (!pending_.text.empty()) overhangs_.push_back(std::move(pending_));
    pending_ = Overhang{};
}

void FitCheck::Untranslated(std::string_view sjis) {
    Fault(-1, sjis, "has no translation");
}

void FitCheck::Fault(int row, std::string_view sjis, std::string_view what) {
    std::string fault = "row " + std::to_string(row) + ": " + SjisToUtf8(sjis) + ": " + std::string(what);
    if (std::find(faults_.begin(), faults_.end(), fault) == faults_.end()) faults_.push_back(std::move(fault));
}

}  // namespace kestran::game
