#include "platform/tty/tty_window.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <bitset>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/tty/tty_cells.h"
#include "platform/tty/tty_keys.h"
#include "platform/tty/tty_session.h"

namespace kestran::platform::tty {

namespace {

constexpr uint8_t kCtrlC = 3;

// The game's menus and the hero's figures stand from this column; its messages and questions
// to the left of it.
constexpr size_t kPanelColumn = 55;

// Whether a row changed from `before` to `after` shows new text in columns [from, to): a cell
// that changed holds some (a row that only lost text, beside text that stayed, brings nothing
// new to read).
bool BringsText(const TermRow& before, const TermRow& after, size_t from = 0, size_t to = kTextColumns) {
    for (size_t c = from; c < to; ++c) {
        if (!(after[c] == before[c]) && (after[c].ch != U' ' || after[c].reverse)) return true;
    }
    return false;
}

bool IsBreak(const Event& e) {
    return e.kind == Event::Kind::Character && e.byte == kCtrlC;
}

// The colour of the words that stand in for the picture.
constexpr uint8_t kWordsColour = 7;

class TtyWindow final : public Window {
public:
    explicit TtyWindow(const TtyOptions& options) : options_(options) {}

    bool Open(std::string& error) {
        if (!session_.Start(error)) return false;
        Repaint();  // a black screen, or the request for a larger terminal
        return true;
    }

    void Present(const FrameView& frame) override;
    bool WaitEvent(Event& event, int timeoutMs) override;
    bool PollEvent(Event& event) override;
    void Beep() override { beep(); }
    // The terminal's own input method composes at the cursor, which the frame places.
    void SetTextInput(bool, int, int) override {}
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override;
    void ShowStatus(const std::string& lineUtf8) override;
    ~TtyWindow() override { ShowStatus({}); }
    void SetAccessibleText(const std::string& utf8) override {
        words_ = utf8;
        wordsNew_ = !utf8.empty();
    }
    // Without braille, nothing the terminal shows comes from the pixels.
    bool WantsPixels() const override { return !options_.screenReader; }

private:
    static bool Fits() { return LINES >= kTextRows && COLS >= kTextColumns; }
    bool TakeEvent(Event& event);
    void ReadInput();
    void Queue(std::optional<Event> event);
    // False when the terminal is gone.
    bool WaitForInput(int timeoutMs);
    void Resized();
    void Repaint();
    // `news`: the rows drawn are changes the player should be led to (not a repaint).
    void Update(bool news = true);
    void DrawRow(int row, const TermRow& cells);
    // Lays the words into the screen last presented.
    void LayNewWords();
    void TakeBackWords();
    void DrawTooSmall();
    void DrawStatus();
    void PlaceCursor();
    attr_t Attributes(const TermCell& cell, short& pair);
    short PairOf(int fg, int bg);

    TtyOptions options_;
    std::string words_;
    bool wordsNew_ = false;                      // words_ came since the last frame
    std::bitset<kTextRows> sayAgain_;            // rows of new words, written whole even where unchanged
    std::array<TermRow, kTextRows> wordless_{};  // wanted_ before the words were laid in
    int newestRow_ = 0;                          // where a screen reader's cursor rests (Update)
    Session session_;
    std::array<TermRow, kTextRows> wanted_{};
    std::array<TermRow, kTextRows> shown_{};
    std::bitset<kTextRows> shownValid_;
    bool presented_ = false;
    bool cursorVisible_ = false;
    int cursorColumn_ = 0;
    int cursorRow_ = 0;
    std::deque<Event> queue_;
    std::map<int, short> pairs_;
    bool closed_ = false;
    std::string status_;
    bool titleUsed_ = false;
};

void TtyWindow::Present(const FrameView& frame) {
    session_.Resume();
    int first = 0;
    int last = kTextRows;
    // The words may change without a pixel changing; without braille, composing is cheap.
    if (presented_ && frame.cellHeight > 0 && !options_.screenReader) {
        first = frame.dirtyTop / frame.cellHeight;
        last = (frame.dirtyBottom + frame.cellHeight - 1) / frame.cellHeight;
    }
    for (int r = std::max(first, 0); r < std::min(last, kTextRows); ++r)
        ComposeTermRow(frame, r, wanted_[size_t(r)], !options_.screenReader);
    if (options_.screenReader) {
        // Each new text is news, also one that reads as the last (a step along a straight
        // corridor): its rows are sent again whole, so that the screen reader says them again.
        wordless_ = wanted_;
        LayNewWords();
    }
    presented_ = true;
    cursorVisible_ = frame.cursorVisible;
    cursorColumn_ = frame.cursorColumn;
    cursorRow_ = frame.cursorRow;
    if (Fits()) Update();
}

void TtyWindow::LayNewWords() {
    wanted_ = wordless_;
    const auto wordRows = LayWords(words_, kWordsColour, wanted_);
    if (wordsNew_) sayAgain_ |= wordRows;
    wordsNew_ = false;
}

// Draws the rows that differ from what the terminal shows. With `news`, the cursor of a screen
// reader goes to the row a listener needs: the first row of new words (the corridor, whose
// sentences start with the facing); else, when at most kSmallChange rows bring text, the first
// of them (the answer to a key, as the attribute "+" raised, above the count that follows from
// it); else the last of them left of the panel (a new screen ends with its question, and its
// menu stands on the right), or the last of them; else the last row drawn.
void TtyWindow::Update(bool news) {
    constexpr int kSmallChange = 2;
    int changed = -1;
    std::vector<int> withText;
    int lastMessage = -1;
    const int firstWords = sayAgain_.any() ? std::countr_zero(sayAgain_.to_ulong()) : -1;
    TakeBackWords();
    for (int r = 0; r < kTextRows; ++r) {
        if (shownValid_[size_t(r)] && shown_[size_t(r)] == wanted_[size_t(r)]) continue;
        DrawRow(r, wanted_[size_t(r)]);
        changed = r;
        const TermRow& before = shownValid_[size_t(r)] ? shown_[size_t(r)] : TermRow{};
        if (BringsText(before, wanted_[size_t(r)])) withText.push_back(r);
        if (BringsText(before, wanted_[size_t(r)], 0, kPanelColumn)) lastMessage = r;
        shown_[size_t(r)] = wanted_[size_t(r)];
        shownValid_[size_t(r)] = true;
    }
    if (news && firstWords >= 0) {
        newestRow_ = firstWords;
    } else if (news && !withText.empty()) {
        const int last = lastMessage >= 0 ? lastMessage : withText.back();
        newestRow_ = int(withText.size()) <= kSmallChange ? withText.front() : last;
    } else if (news && changed >= 0) {
        newestRow_ = changed;
    }
    PlaceCursor();
    refresh();
}

// Curses writes only the cells that differ from the terminal's, so a sentence that reads as the
// one before would not be written again, and one that changed only in part would be written only
// in part. The rows of new words therefore go out without their words first; the update then
// writes each of their sentences whole.
void TtyWindow::TakeBackWords() {
    if (sayAgain_.none()) return;
    for (int r = 0; r < kTextRows; ++r) {
        if (!sayAgain_[size_t(r)] || !shownValid_[size_t(r)]) continue;
        DrawRow(r, wordless_[size_t(r)]);
        shown_[size_t(r)] = wordless_[size_t(r)];
    }
    sayAgain_.reset();
    refresh();
}

void TtyWindow::DrawRow(int row, const TermRow& cells) {
    for (int c = 0; c < kTextColumns; ++c) {
        const TermCell& cell = cells[size_t(c)];
        if (cell.covered) continue;  // drawn by the character before it
        const int width = c + 1 < kTextColumns && cells[size_t(c) + 1].covered ? 2 : 1;
        const PlacedGlyph glyph = PlaceGlyph(cell.ch, width, wcwidth(wchar_t(cell.ch)));
        short pair = 0;
        const attr_t attributes = Attributes(cell, pair);
        const wchar_t text[2] = {wchar_t(glyph.ch), L'\0'};
        cchar_t cc;
        setcchar(&cc, text, attributes, pair, nullptr);
        mvadd_wch(row, c, &cc);
        if (!glyph.pad) continue;
        const wchar_t blank[2] = {L' ', L'\0'};
        setcchar(&cc, blank, attributes, pair, nullptr);
        mvadd_wch(row, c + 1, &cc);
    }
}

attr_t TtyWindow::Attributes(const TermCell& cell, short& pair) {
    const int colours = has_colors() ? COLORS : 0;
    const LimitedColour fg = LimitColour(cell.fg, colours);
    const LimitedColour bg = LimitColour(cell.bg, colours);
    pair = colours > 0 ? PairOf(fg.index, bg.index) : 0;
    attr_t attributes = A_NORMAL;
    if (colours > 0 && fg.bold) attributes |= A_BOLD;  // without colours all text would be bold
    if (cell.reverse) attributes |= A_REVERSE;
    return attributes;
}

// Colour pairs are made as the screen needs them; when the terminal has no more, the default.
short TtyWindow::PairOf(int fg, int bg) {
    const int key = fg * 16 + bg;
    if (const auto it = pairs_.find(key); it != pairs_.end()) return it->second;
    const int next = int(pairs_.size()) + 1;
    if (next >= COLOR_PAIRS || next > SHRT_MAX) return 0;
    const auto pair = short(next);
    init_pair(pair, short(fg), short(bg));
    pairs_[key] = pair;
    return pair;
}

void TtyWindow::PlaceCursor() {
    if (!Fits() || (!cursorVisible_ && !options_.screenReader)) {
        curs_set(0);
        return;
    }
    curs_set(1);
    if (!cursorVisible_) {
        move(newestRow_, 0);
        return;
    }
    move(std::clamp(cursorRow_, 0, kTextRows - 1), std::clamp(cursorColumn_, 0, kTextColumns - 1));
}

void TtyWindow::DrawTooSmall() {
    erase();
    const std::string size = std::to_string(COLS) + "x" + std::to_string(LINES);
    const std::string lines[] = {
        options_.english ? "Please make the terminal at least 80x24" : "端末を 80x24 以上に広げてください",
        (options_.english ? "(now " : "(いまは ") + size + ")",
    };
    const int top = std::max(0, (LINES - 2) / 2);
    for (int i = 0; i < 2; ++i) {
        std::wstring wide(lines[i].size(), L'\0');
        const size_t n = std::mbstowcs(wide.data(), lines[i].c_str(), wide.size());
        if (n == size_t(-1)) continue;
        wide.resize(n);
        const int width = std::max(0, wcswidth(wide.c_str(), wide.size()));
        mvaddnwstr(top + i, std::max(0, (COLS - width) / 2), wide.c_str(), COLS);
    }
    curs_set(0);
    refresh();
}

void TtyWindow::Repaint() {
    shownValid_.reset();
    clear();
    if (Fits()) {
        DrawStatus();
        Update(false);
    } else {
        DrawTooSmall();
    }
}

void TtyWindow::Resized() {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
        resizeterm(size.ws_row, size.ws_col);
    Repaint();
}

void TtyWindow::Queue(std::optional<Event> event) {
    // While the screen cannot be seen, only the break gets through.
    if (event && (Fits() || IsBreak(*event))) queue_.push_back(std::move(*event));
}

void TtyWindow::ReadInput() {
    const Session::Wakes wakes = session_.TakeWakes();
    if (wakes.resize) Resized();
    if (wakes.interrupt) queue_.push_back(Event::Character(kCtrlC));
    wint_t ch = 0;
    for (int got; (got = get_wch(&ch)) != ERR;) {
        if (got != KEY_CODE_YES) {
            Queue(DecodeCharacter(char32_t(ch)));
        } else if (ch == KEY_RESIZE) {
            Resized();
        } else if (const char* name = keyname(int(ch))) {
            Queue(DecodeKeyName(name));
        }
    }
}

bool TtyWindow::TakeEvent(Event& event) {
    if (queue_.empty()) ReadInput();
    if (queue_.empty()) return false;
    event = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

bool TtyWindow::WaitForInput(int timeoutMs) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {session_.wakeFd(), POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) return true;  // a timeout or a signal: look again
    return (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) == 0 || (fds[0].revents & POLLIN) != 0;
}

bool TtyWindow::WaitEvent(Event& event, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    // Words said again over an unchanged screen (a step the wall refused) come with no frame.
    if (options_.screenReader && wordsNew_ && presented_ && Fits()) {
        LayNewWords();
        Update();
    }
    for (;;) {
        if (TakeEvent(event)) return true;
        if (closed_) {
            event = Event::Of(Event::Kind::Close);
            return true;
        }
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return false;
            wait = int(left);
        }
        // A terminal that hung up closes the window: the program ends quietly.
        if (!WaitForInput(wait)) closed_ = true;
    }
}

bool TtyWindow::PollEvent(Event& event) {
    if (!queue_.empty()) return TakeEvent(event);
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {session_.wakeFd(), POLLIN, 0}};
    if (poll(fds, 2, 0) <= 0) return false;
    return TakeEvent(event);
}

void TtyWindow::ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) {
    session_.Suspend();
    std::fprintf(stderr, "%s: %s\n", titleUtf8.c_str(), textUtf8.c_str());
    std::fflush(stderr);
}

void TtyWindow::ShowStatus(const std::string& lineUtf8) {
    if (lineUtf8 == status_) return;
    status_ = lineUtf8;
    if (!Fits()) return;
    DrawStatus();
    PlaceCursor();
    refresh();
}

// The status goes on the row below the game's 24 when the terminal has one; else into the
// terminal's title (its status line where terminfo names one, else xterm's title escape), the
// title it had put back when the status goes away.
void TtyWindow::DrawStatus() {
    if (LINES > kTextRows) {
        move(kTextRows, 0);
        clrtoeol();
        attron(A_REVERSE);
        addnstr(status_.c_str(), std::min(COLS, int(status_.size())));
        attroff(A_REVERSE);
        return;
    }
    const char* term = std::getenv("TERM");
    const std::string_view name = term ? term : "";
    char* toStatus = tigetstr(const_cast<char*>("tsl"));
    char* fromStatus = tigetstr(const_cast<char*>("fsl"));
    const auto present = [](const char* capability) {
        return capability && capability != reinterpret_cast<char*>(-1);  // -1: not a string capability
    };
    const bool hasStatusLine = present(toStatus) && present(fromStatus);
    if (!hasStatusLine && (name.empty() || name.starts_with("linux") || name.starts_with("dumb"))) return;
    if (status_.empty() && !titleUsed_) return;
    refresh();  // the title's bytes go after what curses still holds
    std::string title = hasStatusLine ? toStatus : "\033]2;";
    if (!titleUsed_) title = "\033[22;0t" + title;  // the terminal keeps its own title
    title += status_.empty() ? "" : "kestran: " + status_;
    title += hasStatusLine ? fromStatus : "\007";
    if (status_.empty()) title += "\033[23;0t";
    titleUsed_ = !status_.empty();
    std::fputs(title.c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

bool TerminalAvailable() {
    return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
}

std::unique_ptr<Window> OpenTtyWindow(std::string& error, const TtyOptions& options) {
    if (!TerminalAvailable()) {
        error = "standard input and output are not a terminal";
        return nullptr;
    }
    auto window = std::make_unique<TtyWindow>(options);
    if (!window->Open(error)) return nullptr;
    return window;
}

}  // namespace kestran::platform::tty
