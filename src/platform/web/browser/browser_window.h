// The browser window: the program's frames drawn into the page's canvas, its keys read from the
// page. The page's handlers hand key events in through the exports of page_exports.cpp, and a
// wait for a key yields to the browser (emscripten's ASYNCIFY) until one comes: an idle page uses
// no CPU.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/window.h"

namespace kestran::platform::web {

class BrowserWindow final : public Window {
public:
    BrowserWindow();
    ~BrowserWindow() override;
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    void Present(const FrameView& frame) override;
    PixelLayout WantedLayout() const override { return PixelLayout::Rgba; }
    bool WaitEvent(Event& event, int timeoutMs) override;
    bool PollEvent(Event& event) override;
    void Beep() override;
    void SetTextInput(bool on, int column, int row) override;
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override;
    // The page shows the line with its controls for a watched recording.
    void ShowStatus(const std::string& lineUtf8) override;
    void SetAccessibleText(const std::string& utf8) override;

    // An event from the page, taken by the next wait or poll.
    void Queue(Event event) { queue_.push_back(std::move(event)); }
    // Whether the game reads a line of text (the input method's text goes in as it is) rather
    // than single keys.
    bool TextInputOn() const { return textInput_; }
    // The screen's text for the clipboard (Ctrl+Shift+C).
    std::string ScreenText() const { return platform::ScreenText(rows_); }

    // The window the page's events go to, while one is open.
    static BrowserWindow* Open() { return open_; }

private:
    std::deque<Event> queue_;
    // For frames given as 0x00RRGGBB words: the last frame whole, as the canvas takes it (R, G,
    // B, A bytes). Every pixel is written before the page first reads it (a new size redraws the
    // whole frame), so it is never cleared: clearing a frame costs the first frame as much as
    // drawing it.
    std::unique_ptr<uint32_t[]> rgba_;
    int width_ = 0;
    int height_ = 0;
    int cellWidth_ = 8;
    int cellHeight_ = 18;
    std::array<std::string, kTextRows> rows_;
    bool rowsTold_ = false;  // the page has the rows as they are
    bool textInput_ = false;
    static BrowserWindow* open_;
};

}  // namespace kestran::platform::web
