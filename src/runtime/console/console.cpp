#include "runtime/console/console.h"

#include <algorithm>
#include <string>

#include "runtime/runtime.h"

namespace kestran {

Console::Console() : Console(Picture(), std::make_unique<Compositor>()) {}

Console::Console(Picture keptPicture, std::unique_ptr<Compositor> keptCompositor)
    : picture(std::move(keptPicture)), compositor_(std::move(keptCompositor)) {
    picture.Fill(0);
    ClearRows(0, kScreenRows);
    MarkAllDirty();
}

void Console::Present(Runtime& rt) {
    auto* window = rt.platform.window;
    if (!window || !window->WantsFrames()) return;
    window->Present(compositor_->Compose(screen, text, picture, rt.platform.font, dirty_, window->WantsPixels(),
                                         window->WantedLayout()));
}

void Console::ClearRows(int first, int last) {
    for (int r = first; r < last; ++r) {
        screen.ClearRow(r, text.textColour, text.attribute);
        MarkRowDirty(r);
    }
}

void Console::PutCell(int row, int column, uint8_t byte, CellKind kind) {
    auto& r = screen.rows[size_t(row)];
    r.chars[size_t(column)] = byte;
    r.colours[size_t(column)] = text.textColour;
    r.attributes[size_t(column)] = text.attribute;
    r.kinds[size_t(column)] = kind;
    MarkRowDirty(row);
}

void Console::MarkPixelRowsDirty(int64_t top, int64_t bottom) {
    top = std::max<int64_t>(top, 0);
    bottom = std::min<int64_t>(bottom, kPictureHeight - 1);
    for (int64_t r = top / kCellHeight; r <= bottom / kCellHeight && top <= bottom; ++r)
        MarkRowDirty(int(r));
}

void Console::ScrollConsole() {
    const int top = text.consoleTop;
    const int bottom = text.consoleTop + text.consoleLines - 1;
    screen.ScrollUp(top, bottom, text.textColour, text.attribute);
    for (int r = top; r <= bottom; ++r)
        MarkRowDirty(r);
}

void Console::NextRow() {
    const int bottom = text.consoleTop + text.consoleLines - 1;
    if (text.cursorRow == bottom) {
        ScrollConsole();
    } else if (text.cursorRow + 1 < text.rows) {
        ++text.cursorRow;
    }
}

void Console::AdvanceCursor(int cells) {
    text.cursorColumn += cells;
    if (text.cursorColumn >= text.columns) {
        text.cursorColumn = 0;
        NextRow();
    }
}

void Console::StorePiece(std::string_view piece) {
    const int row = text.cursorRow;
    int column = text.cursorColumn;
    for (size_t i = 0; i < piece.size();) {
        const auto b = static_cast<uint8_t>(piece[i]);
        if (IsSjisLeadByte(b) && i + 1 < piece.size()) {
            PutCell(row, column++, b, CellKind::Lead);
            PutCell(row, column++, static_cast<uint8_t>(piece[i + 1]), CellKind::Trail);
            i += 2;
        } else {
            // A lead byte whose partner is missing at the end of the text is kept as a blank.
            PutCell(row, column++, IsSjisLeadByte(b) ? uint8_t{' '} : b, CellKind::Single);
            i += 1;
        }
    }
    AdvanceCursor(int(piece.size()));
}

void Console::WriteRun(std::string_view run) {
    size_t p = 0;
    while (p < run.size()) {
        const auto room = size_t(text.columns - text.cursorColumn);
        if (run.size() - p <= room) {
            StorePiece(run.substr(p));
            return;
        }
        // Find whether the byte that would be the row's last starts a double-byte character;
        // if so the row ends with a blank and the character goes whole to the next row.
        size_t k = p;
        while (k < p + room - 1)
            k += SjisCharLength(run, k);
        const bool splitsCharacter = k == p + room - 1 && SjisCharLength(run, k) == 2;
        const size_t take = splitsCharacter ? room - 1 : room;
        if (splitsCharacter) {
            const int row = text.cursorRow;
            StorePiece(run.substr(p, take));
            PutCell(row, text.columns - 1, ' ', CellKind::Single);
            AdvanceCursor(1);
        } else {
            StorePiece(run.substr(p, take));
        }
        p += take;
    }
}

void Console::WriteText(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '\r') {
            text.cursorColumn = 0;
            ++i;
        } else if (bytes[i] == '\n') {
            NextRow();
            ++i;
        } else {
            const size_t end = bytes.find_first_of("\r\n", i);
            const size_t stop = end == std::string_view::npos ? bytes.size() : end;
            WriteRun(bytes.substr(i, stop - i));
            i = stop;
        }
    }
}

namespace {

// Replaces each tab by blanks up to the next multiple of 8 columns, counted from `column`.
std::string ExpandTabs(std::string_view item, int column) {
    std::string out;
    out.reserve(item.size());
    for (size_t i = 0; i < item.size();) {
        const size_t len = SjisCharLength(item, i);
        if (item[i] == '\t') {
            const int blanks = 8 - column % 8;
            out.append(size_t(blanks), ' ');
            column += blanks;
        } else {
            out.append(item.substr(i, len));
            column += int(len);
        }
        i += len;
    }
    return out;
}

}  // namespace

void Console::PrintItem(std::string_view item, PbSep sep) {
    const int width = text.lineWidth;
    std::string expanded = ExpandTabs(item, text.cursorColumn);
    const bool fits = width == 0 || text.cursorColumn + int64_t(expanded.size()) <= width;
    if (!fits && text.cursorColumn != 0) {
        if (expanded.size() != item.size()) expanded = ExpandTabs(item, 0);
        WriteText("\r\n");
    }
    WriteText(expanded);
    switch (sep) {
        case PbSep::End:
            WriteText("\r\n");
            break;
        case PbSep::Comma: {
            const int next = text.cursorColumn + PbZoneBlanks(text.cursorColumn);
            if (width != 0 && (next > width || width - next < kPrintZone)) {
                WriteText("\r\n");
            } else {
                WriteText(std::string(size_t(next - text.cursorColumn), ' '));
            }
            break;
        }
        case PbSep::Semicolon:
            break;
    }
}

}  // namespace kestran
