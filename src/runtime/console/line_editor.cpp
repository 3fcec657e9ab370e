#include "runtime/console/line_editor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/console/console_errors.h"
#include "runtime/console/keyboard.h"
#include "runtime/console/romaji.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"

namespace kestran {

namespace {

constexpr size_t kMaxLine = 255;

enum Code : int {
    kGone = 0,
    kDelete = 4,
    kEraseToEnd = 5,
    kBackspace = 8,
    kHome = 11,
    kClearLine = 12,
    kEnter = 13,
    kRomajiToggle = 15,  // Ctrl+O
    kInsertToggle = 18,
    kEnd = 21,
    kBreak = 24,
    kRight = 28,
    kLeft = 29,
};

// Text input (the input method) is on only while a line is edited.
class TextInputGuard {
public:
    explicit TextInputGuard(Runtime& rt) : rt_(rt) {}
    ~TextInputGuard() {
        if (rt_.platform.window) rt_.platform.window->SetTextInput(false, 0, 0);
    }
    TextInputGuard(const TextInputGuard&) = delete;
    TextInputGuard& operator=(const TextInputGuard&) = delete;

private:
    Runtime& rt_;
};

class LineEditor {
public:
    LineEditor(Runtime& rt, std::string_view refused)
        : rt_(rt),
          c_(rt.console),
          refused_(refused),
          startRow_(c_.text.cursorRow),
          startColumn_(c_.text.cursorColumn),
          maxLength_(MaxLength()) {}

    PbString Run();

private:
    size_t MaxLength() const;
    // The first character that may differ from the line as last drawn: those before it are the
    // same bytes at the same cells, so they need neither laying out nor drawing again.
    size_t FirstChangedChar() const;
    // Lays the line out from character `from` on into cells_ and starts_, and gives the cell of
    // its end.
    int Layout(size_t from);
    void Render();
    void Beep() {
        if (rt_.platform.window) rt_.platform.window->Beep();
    }
    size_t PreviousCharStart(size_t pos) const;
    size_t CharLengthAt(size_t pos) const { return pos < line_.size() ? SjisCharLength(line_, pos) : 0; }
    void Type(std::string_view character);
    void TypeRomaji(char letter);
    // Turns the letters still waiting for their syllable into what they are by themselves.
    void FinishRomaji();
    bool Edit(int code);  // false when the line is finished

    Runtime& rt_;
    Console& c_;
    std::string_view refused_;
    int startRow_;
    int startColumn_;
    size_t maxLength_;
    PbString line_;
    size_t cursor_ = 0;
    bool insertMode_ = true;
    int heldLead_ = -1;  // first byte of a double-byte character waiting for its second
    bool romaji_ = false;
    size_t romajiStart_ = 0;       // the letters line_[romajiStart_, cursor_) wait for their syllable
    int shownEnd_ = 0;             // cells the line covered when last drawn
    PbString shownLine_;           // the line as last drawn
    std::vector<int> cells_;       // each byte's cell, counted from column 0 of the start row
    std::vector<uint8_t> starts_;  // 1 where a byte starts a character
};

size_t LineEditor::MaxLength() const {
    const auto& t = c_.text;
    int room;
    if (t.cursorRow >= t.consoleTop && t.cursorRow < t.consoleTop + t.consoleLines) {
        room = t.columns * t.consoleLines - t.cursorColumn;
    } else if (t.cursorRow >= t.consoleTop + t.consoleLines) {
        room = (t.rows - t.cursorRow) * t.columns - t.cursorColumn - 1;
    } else {
        room = (t.consoleTop - t.cursorRow) * t.columns - t.cursorColumn - 1;
    }
    return std::min(kMaxLine, size_t(std::max(room, 0)));
}

size_t LineEditor::FirstChangedChar() const {
    const size_t both = std::min(line_.size(), shownLine_.size());
    size_t same = 0;  // bytes alike, compared a word at a time: this runs at every key
    for (uint64_t a = 0, b = 0; same + sizeof a <= both; same += sizeof a) {
        std::memcpy(&a, line_.data() + same, sizeof a);
        std::memcpy(&b, shownLine_.data() + same, sizeof b);
        if (a != b) break;
    }
    while (same < both && line_[same] == shownLine_[same])
        ++same;
    if (same == 0) return 0;
    // The character that holds the last byte alike is unchanged only when it ends there and
    // both lines read it with the same length (a lead byte may have found or lost its partner).
    const size_t last = starts_[same - 1] ? same - 1 : same - 2;
    const size_t len = SjisCharLength(shownLine_, last);
    return last + len > same || SjisCharLength(line_, last) != len ? last : same;
}

int LineEditor::Layout(size_t from) {
    const int columns = c_.text.columns;
    cells_.resize(line_.size());
    starts_.resize(line_.size());
    int pos = from == 0 ? startColumn_ : cells_[from - 1] + 1;
    for (size_t i = from; i < line_.size();) {
        const size_t len = SjisCharLength(line_, i);
        // A double-byte character never straddles the right edge: it moves whole to the next row.
        if (len == 2 && pos % columns == columns - 1) ++pos;
        for (size_t k = 0; k < len; ++k) {
            cells_[i + k] = pos + int(k);
            starts_[i + k] = k == 0;
        }
        pos += int(len);
        i += len;
    }
    return pos;
}

void LineEditor::Render() {
    const int columns = c_.text.columns;
    const int bottom = c_.text.consoleTop + c_.text.consoleLines - 1;
    const size_t from = FirstChangedChar();
    const int end = Layout(from);
    // Scroll when the line (or the cursor after its last character) runs past the bottom.
    while (startRow_ + end / columns > bottom && startRow_ > c_.text.consoleTop) {
        c_.text.cursorRow = bottom;
        c_.NextRow();
        --startRow_;
    }
    auto cellAt = [&](int pos, uint8_t byte, CellKind kind) {
        const int row = startRow_ + pos / columns;
        if (row <= bottom) c_.PutCell(row, pos % columns, byte, kind);
    };
    const int unchangedEnd = from == 0 ? startColumn_ : cells_[from - 1] + 1;
    for (int pos = unchangedEnd; pos < std::max(end, shownEnd_); ++pos)
        cellAt(pos, ' ', CellKind::Single);
    for (size_t i = from; i < line_.size();) {
        const size_t len = SjisCharLength(line_, i);
        if (len == 2) {
            cellAt(cells_[i], uint8_t(line_[i]), CellKind::Lead);
            cellAt(cells_[i + 1], uint8_t(line_[i + 1]), CellKind::Trail);
        } else {
            cellAt(cells_[i], uint8_t(line_[i]), CellKind::Single);
        }
        i += len;
    }
    shownEnd_ = end;
    shownLine_ = line_;
    const int cursorPos = cursor_ < line_.size() ? cells_[cursor_] : end;
    c_.text.cursorColumn = cursorPos % columns;
    c_.text.cursorRow = std::min(startRow_ + cursorPos / columns, bottom);
    if (rt_.platform.window) rt_.platform.window->SetTextInput(true, c_.text.cursorColumn, c_.text.cursorRow);
}

size_t LineEditor::PreviousCharStart(size_t pos) const {
    size_t prev = 0;
    for (size_t i = 0; i < pos; i += SjisCharLength(line_, i))
        prev = i;
    return prev;
}

void LineEditor::Type(std::string_view character) {
    if (character.size() == 1 && refused_.find(character[0]) != std::string_view::npos) {
        Beep();
        return;
    }
    const size_t replaced = insertMode_ ? 0 : CharLengthAt(cursor_);
    if (line_.size() - replaced + character.size() > maxLength_) {
        Beep();
        return;
    }
    line_.replace(cursor_, replaced, character);
    cursor_ += character.size();
}

// In the romaji mode a typed letter joins the letters before the cursor that still wait for their
// syllable, and whatever they complete is put in their place as katakana.
void LineEditor::TypeRomaji(char letter) {
    if (romajiStart_ > cursor_) romajiStart_ = cursor_;
    const PbString before = line_;
    const size_t cursorBefore = cursor_;
    Type(std::string_view(&letter, 1));
    if (cursor_ == cursorBefore) return;  // refused
    const RomajiConversion c =
        ConvertRomaji(std::string_view(line_).substr(romajiStart_, cursor_ - romajiStart_), false);
    line_.replace(romajiStart_, cursor_ - romajiStart_, c.kana + c.pending);
    if (line_.size() > maxLength_) {
        line_ = before;
        cursor_ = cursorBefore;
        Beep();
        return;
    }
    romajiStart_ += c.kana.size();
    cursor_ = romajiStart_ + c.pending.size();
}

void LineEditor::FinishRomaji() {
    if (!romaji_ || romajiStart_ >= cursor_) {
        romajiStart_ = cursor_;
        return;
    }
    const RomajiConversion c =
        ConvertRomaji(std::string_view(line_).substr(romajiStart_, cursor_ - romajiStart_), true);
    PbString finished = line_;
    finished.replace(romajiStart_, cursor_ - romajiStart_, c.kana);
    if (finished.size() <= maxLength_) {
        line_ = finished;
        cursor_ = romajiStart_ + c.kana.size();
    }
    romajiStart_ = cursor_;
}

bool LineEditor::Edit(int code) {
    FinishRomaji();
    switch (code) {
        case kRomajiToggle:
            romaji_ = !romaji_;
            romajiStart_ = cursor_;
            break;
        case kBackspace:
            if (cursor_ > 0) {
                const size_t start = PreviousCharStart(cursor_);
                line_.erase(start, cursor_ - start);
                cursor_ = start;
            }
            break;
        case kDelete:
            line_.erase(cursor_, CharLengthAt(cursor_));
            break;
        case kLeft:
            if (cursor_ > 0) cursor_ = PreviousCharStart(cursor_);
            break;
        case kRight:
            cursor_ += CharLengthAt(cursor_);
            break;
        case kHome:
            cursor_ = 0;
            break;
        case kEnd:
            cursor_ = line_.size();
            break;
        case kEraseToEnd:
            line_.erase(cursor_);
            break;
        case kInsertToggle:
            insertMode_ = !insertMode_;
            break;
        case kClearLine:
            if (rt_.frame.options.clearInputKey != 0) {
                line_.clear();
                cursor_ = 0;
            }
            break;
        case kBreak:
            if (!BreakArmed(rt_)) return false;
            cursor_ = line_.size();
            Render();
            c_.WriteText("\r\n");
            PbBreakStop(rt_);
        case kEnter:
        case kGone:
            return false;
        default:
            break;  // Ctrl+C, Up, Down and the other control codes
    }
    return true;
}

PbString LineEditor::Run() {
    const bool caretWas = c_.text.cursorOn;
    c_.text.cursorOn = true;
    Render();
    for (;;) {
        const int code = WaitKey(rt_);
        if (heldLead_ >= 0) {
            const int lead = heldLead_;
            heldLead_ = -1;
            if (code >= 0x40 && code <= 0xFC && code != 0x7F) {
                const char pair[2] = {char(lead), char(code)};
                Type(std::string_view(pair, 2));
                romajiStart_ = cursor_;
                Render();
                continue;
            }
            // A first byte followed by no second byte is dropped; the code counts by itself.
        }
        if (code >= 0x20 && code != 0x7F) {
            if (IsSjisLeadByte(uint8_t(code))) {
                FinishRomaji();
                heldLead_ = code;
                continue;
            }
            const char single = char(code);
            if (romaji_ && IsRomajiByte(single)) {
                TypeRomaji(single);
            } else {
                FinishRomaji();
                Type(std::string_view(&single, 1));
                romajiStart_ = cursor_;
            }
        } else if (!Edit(code)) {
            if (code == kGone) return {};
            break;
        } else {
            romajiStart_ = cursor_;
        }
        Render();
    }
    c_.text.cursorOn = caretWas;
    cursor_ = line_.size();
    Render();
    c_.WriteText("\r\n");
    c_.ClearKeys();
    return line_;
}

}  // namespace

PbString TakeStringField(std::string_view text) {
    PbString bytes(text);
    std::erase(bytes, '\0');
    const std::string_view line = bytes;
    PbString field;
    size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos) return field;
    if (line[i] == '"') {
        const size_t close = line.find('"', i + 1);
        field = line.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
    } else {
        // Commas, colons and blanks never occur as second bytes of double-byte characters, so
        // a byte search stays on character boundaries here.
        const size_t stop = line.find_first_of(",:", i);
        field = line.substr(i, stop == std::string_view::npos ? std::string_view::npos : stop - i);
        field.erase(field.find_last_not_of(' ') + 1);
    }
    return field;
}

PbString PbInputLine(Runtime& rt, int promptKind, std::string_view prompt, std::string_view refusedBytes,
                     std::source_location where) {
    PbStatement(rt, where);
    RequireWindow(rt, console_site::kInputBegin, where);
    if (promptKind < 0 || promptKind > 2) PbRaiseError(5, ErrorSite(console_site::kInputBegin, 2), where);
    Console& c = rt.console;
    c.Present(rt);
    PbString shown = promptKind == 0 ? PbString() : PbString(prompt);
    if (promptKind != 1) shown += "? ";
    c.PrintItem(shown, PbSep::Semicolon);
    TextInputGuard textInput(rt);
    return TakeStringField(LineEditor(rt, refusedBytes).Run());
}

}  // namespace kestran
