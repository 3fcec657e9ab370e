#include "platform/tty/tty_cells.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kestran::platform::tty {

namespace {

// The usual RGB of the 16 terminal colours; the console's palettes are made of the same levels,
// so each of their colours finds its terminal colour exactly.
constexpr std::array<uint32_t, 16> kTerminalRgb = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr int kBrightBlack = 8;
constexpr int kWhite = 7;

int Distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

// Braille dot bits by (column, row) of the 2x4 dots.
constexpr uint8_t kDotBits[2][4] = {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}};

// The commonest of a few colours; the first seen wins a tie.
class ColourTally {
public:
    void Add(uint32_t colour) {
        for (int i = 0; i < used_; ++i) {
            if (colours_[size_t(i)].first == colour) {
                ++colours_[size_t(i)].second;
                return;
            }
        }
        if (used_ < int(colours_.size())) colours_[size_t(used_++)] = {colour, 1};
    }
    uint32_t Commonest() const {
        int best = 0;
        for (int i = 1; i < used_; ++i) {
            if (colours_[size_t(i)].second > colours_[size_t(best)].second) best = i;
        }
        return colours_[size_t(best)].first;
    }

private:
    std::array<std::pair<uint32_t, int>, 16> colours_{};
    int used_ = 0;
};

TermCell TextTermCell(const TextCell& text, uint8_t background) {
    TermCell cell;
    cell.ch = text.ch == 0 ? U' ' : text.ch;
    cell.covered = text.ch == 0;
    if (text.opaque) {
        // Reverse: the paper colour is the foreground that the terminal swaps to the back.
        cell.fg = uint8_t(NearestTerminalColour(text.paper));
        cell.bg = uint8_t(NearestTerminalColour(text.ink));
        cell.reverse = true;
    } else {
        cell.fg = uint8_t(NearestTerminalColour(text.ink));
        cell.bg = background;
    }
    return cell;
}

bool IsBlank(const TermCell& cell) {
    return cell.ch == U' ' && !cell.reverse && !cell.covered;
}

constexpr uint32_t kFullStop = U'。';

int CellsOf(uint32_t ch) {
    return ch < 0x80 || (ch >= 0xFF61 && ch <= 0xFF9F) ? 1 : 2;
}

}  // namespace

int NearestTerminalColour(uint32_t rgb) {
    int best = 0;
    for (int i = 1; i < int(kTerminalRgb.size()); ++i) {
        if (Distance(rgb, kTerminalRgb[size_t(i)]) < Distance(rgb, kTerminalRgb[size_t(best)])) best = i;
    }
    return best;
}

LimitedColour LimitColour(int colour, int colours) {
    if (colours >= 16 || colour < 8) return {colour, false};
    if (colour == kBrightBlack) return {kWhite, false};
    return {colour - 8, true};
}

BrailleCell SampleBraille(const FrameView& frame, int column, int row) {
    BrailleCell out;
    const int cw = frame.cellWidth;
    const int ch = frame.cellHeight;
    if (!frame.pixels || cw < 2 || ch < 4) return out;
    const int x0 = column * cw;
    const int y0 = row * ch;
    if (x0 + cw > frame.width || y0 + ch > frame.height) return out;
    uint8_t bits = 0;
    ColourTally tally;
    for (int dy = 0; dy < 4; ++dy) {
        for (int y = y0 + dy * ch / 4; y < y0 + (dy + 1) * ch / 4; ++y) {
            const uint32_t* line = frame.pixels + size_t(y) * size_t(frame.width);
            for (int x = x0; x < x0 + cw; ++x) {
                if (line[x] == frame.background) continue;
                bits |= kDotBits[(x - x0) * 2 / cw][dy];
                tally.Add(line[x]);
            }
        }
    }
    if (bits == 0) return out;
    out.ch = char32_t(0x2800 + bits);
    out.colour = tally.Commonest();
    return out;
}

void ComposeTermRow(const FrameView& frame, int row, TermRow& out, bool braille) {
    const auto background = uint8_t(NearestTerminalColour(frame.background));
    for (int column = 0; column < kTextColumns; ++column) {
        TermCell& cell = out[size_t(column)];
        if (frame.textCells) {
            const TextCell& text = (*frame.textCells)[size_t(row)][size_t(column)];
            if (text.ch != U' ' || text.opaque) {
                cell = TextTermCell(text, background);
                continue;
            }
        }
        const BrailleCell dots = braille ? SampleBraille(frame, column, row) : BrailleCell{};
        cell = TermCell{};
        cell.ch = dots.ch;
        cell.fg = uint8_t(NearestTerminalColour(dots.ch == U' ' ? 0xC0C0C0 : dots.colour));
        cell.bg = background;
    }
}

namespace {

// How many columns from the left a row offers the words: all of them when it is blank, the
// picture's part when only that is, else none.
int WordsWidth(const TermRow& cells) {
    if (std::all_of(cells.begin(), cells.end(), IsBlank)) return kTextColumns;
    return std::all_of(cells.begin(), cells.begin() + kWordsColumns, IsBlank) ? kWordsColumns : 0;
}

// The sentences of `codes`, each up to and with its full stop, and their widths in cells.
std::vector<std::vector<uint32_t>> Sentences(const std::vector<uint32_t>& codes) {
    std::vector<std::vector<uint32_t>> out(1);
    for (uint32_t ch : codes) {
        out.back().push_back(ch);
        if (ch == kFullStop) out.emplace_back();
    }
    if (out.back().empty()) out.pop_back();
    return out;
}

int WidthOf(const std::vector<uint32_t>& codes) {
    int width = 0;
    for (uint32_t ch : codes)
        width += CellsOf(ch);
    return width;
}

}  // namespace

std::bitset<kTextRows> LayWords(const std::string& utf8, uint8_t colour, std::array<TermRow, kTextRows>& rows) {
    std::bitset<kTextRows> used;
    int row = -1;
    int column = 0;
    int width = 0;
    const auto nextRow = [&] {
        do {
            ++row;
        } while (row < kWordsRows && (width = WordsWidth(rows[size_t(row)])) == 0);
        column = 0;
        return row < kWordsRows;
    };
    for (const std::vector<uint32_t>& sentence : Sentences(DecodeUtf8Text(utf8))) {
        // A sentence that fits no further on this row starts the next; a longer one wraps.
        if ((row < 0 || column + WidthOf(sentence) > width) && !nextRow()) break;
        for (uint32_t ch : sentence) {
            const int cells = CellsOf(ch);
            if (column + cells > width && !nextRow()) return used;
            TermRow& out = rows[size_t(row)];
            out[size_t(column)].ch = ch;
            out[size_t(column)].fg = colour;
            if (cells == 2) out[size_t(column) + 1].covered = true;
            column += cells;
            used.set(size_t(row));
        }
    }
    return used;
}

PlacedGlyph PlaceGlyph(char32_t ch, int cells, int terminalWidth) {
    if (terminalWidth == cells) return {ch, false};
    if (cells == 2 && terminalWidth == 1) return {ch, true};
    return {U'?', cells == 2};
}

}  // namespace kestran::platform::tty
