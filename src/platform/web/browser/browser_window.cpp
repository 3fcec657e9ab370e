#include "platform/web/browser/browser_window.h"

#include <emscripten.h>

#include <algorithm>

// The page's side (kestran-page.js) is reached through Module.kestranPage.

// Draws rows [top, bottom) of the RGBA frame at `pixels` into the canvas.
EM_JS(void, KestranPagePresent, (const uint8_t* pixels, int width, int height, int top, int bottom), {
    Module.kestranPage.present(HEAPU8.subarray(pixels, pixels + width * height * 4), width, height, top, bottom);
});

EM_JS(void, KestranPageCursor, (int column, int row, int cellWidth, int cellHeight, int visible),
      { Module.kestranPage.cursor(column, row, cellWidth, cellHeight, visible != 0); });

// Resolves with 1 as soon as the page has queued an event, or with 0 after `timeoutMs` (never,
// when it is negative).
EM_ASYNC_JS(int, KestranPageWaitForInput, (int timeoutMs),
            { return await Module.kestranPage.waitForInput(timeoutMs); });

// The 24 rows of the screen's text, UTF-8, each ending in "\n".
EM_JS(void, KestranPageScreen, (const char* rows), { Module.kestranPage.screen(UTF8ToString(rows)); });

// The screen's words for a screen reader (the corridor described); each call is news.
EM_JS(void, KestranPageWords, (const char* text), { Module.kestranPage.words(UTF8ToString(text)); });

EM_JS(void, KestranPageBeep, (), { Module.kestranPage.beep(); });

EM_JS(void, KestranPageTextInput, (int on, int column, int row),
      { Module.kestranPage.textInput(on != 0, column, row); });

EM_JS(void, KestranPageMessage, (const char* title, const char* text),
      { Module.kestranPage.message(UTF8ToString(title), UTF8ToString(text)); });

EM_JS(void, KestranPageWatchStatus, (const char* line), { Module.kestranPage.watchStatus(UTF8ToString(line)); });

namespace kestran::platform::web {

BrowserWindow* BrowserWindow::open_ = nullptr;

BrowserWindow::BrowserWindow() {
    open_ = this;
}

BrowserWindow::~BrowserWindow() {
    if (open_ == this) open_ = nullptr;
}

void BrowserWindow::Present(const FrameView& frame) {
    if (!frame.pixels || frame.width <= 0 || frame.height <= 0) return;
    int top = std::clamp(frame.dirtyTop, 0, frame.height);
    int bottom = std::clamp(frame.dirtyBottom, top, frame.height);
    if (frame.width != width_ || frame.height != height_) {
        width_ = frame.width;
        height_ = frame.height;
        rgba_.reset();
        top = 0;
        bottom = height_;
    }
    const uint32_t* rgba = frame.pixels;
    if (frame.layout != PixelLayout::Rgba) {
        // 0x00RRGGBB to the canvas's R, G, B, A bytes (a little-endian word 0xAABBGGRR), opaque.
        if (!rgba_) rgba_.reset(new uint32_t[size_t(width_) * size_t(height_)]);
        for (size_t i = size_t(top) * size_t(width_); i < size_t(bottom) * size_t(width_); ++i) {
            const uint32_t p = frame.pixels[i];
            rgba_[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
        }
        rgba = rgba_.get();
    }
    if (frame.textRows && *frame.textRows != rows_) {
        rows_ = *frame.textRows;
        rowsTold_ = false;
    }
    if (frame.cellWidth > 0) cellWidth_ = frame.cellWidth;
    if (frame.cellHeight > 0) cellHeight_ = frame.cellHeight;
    if (bottom > top) KestranPagePresent(reinterpret_cast<const uint8_t*>(rgba), width_, height_, top, bottom);
    KestranPageCursor(frame.cursorColumn, frame.cursorRow, cellWidth_, cellHeight_, frame.cursorVisible ? 1 : 0);
}

bool BrowserWindow::WaitEvent(Event& event, int timeoutMs) {
    // The page's modules read the screen at every wait for a key (the touch keys, the screen
    // reader); they get its rows when they have changed.
    if (queue_.empty() && !rowsTold_) {
        std::string text;
        for (const auto& row : rows_)
            text += row + '\n';
        KestranPageScreen(text.c_str());
        rowsTold_ = true;
    }
    while (queue_.empty()) {
        if (KestranPageWaitForInput(timeoutMs) == 0 && queue_.empty()) return false;
    }
    event = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

bool BrowserWindow::PollEvent(Event& event) {
    if (queue_.empty()) return false;
    event = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void BrowserWindow::Beep() {
    KestranPageBeep();
}

void BrowserWindow::SetTextInput(bool on, int column, int row) {
    textInput_ = on;
    KestranPageTextInput(on ? 1 : 0, column, row);
}

void BrowserWindow::SetAccessibleText(const std::string& utf8) {
    KestranPageWords(utf8.c_str());
}

void BrowserWindow::ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) {
    KestranPageMessage(titleUtf8.c_str(), textUtf8.c_str());
}

void BrowserWindow::ShowStatus(const std::string& lineUtf8) {
    KestranPageWatchStatus(lineUtf8.c_str());
}

}  // namespace kestran::platform::web
