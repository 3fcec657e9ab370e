// An in-memory window for tests: scripted events in, presented frames and beeps counted.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "platform/window.h"

namespace kestran::testing {

class FakeWindow : public platform::Window {
public:
    using Event = platform::Event;

    // Events handed out by WaitEvent, in order; when none is left the window reports Close.
    std::deque<Event> waitEvents;
    // Events handed out by PollEvent (the message pump).
    std::deque<Event> pollEvents;

    void Type(std::string_view bytes) {
        for (char b : bytes)
            waitEvents.push_back(Event::Character(uint8_t(b)));
    }
    void Press(platform::Key key, bool shift = false) { waitEvents.push_back(Event::KeyDown(key, shift)); }

    void Present(const platform::FrameView& frame) override {
        ++presents;
        lastFrame = frame;
        if (frame.textRows) rows = *frame.textRows;
    }
    bool WaitEvent(Event& event, int) override {
        ++waits;
        if (waitEvents.empty()) {
            event = Event::Of(Event::Kind::Close);
        } else {
            event = waitEvents.front();
            waitEvents.pop_front();
        }
        return true;
    }
    bool PollEvent(Event& event) override {
        if (pollEvents.empty()) return false;
        event = pollEvents.front();
        pollEvents.pop_front();
        return true;
    }
    void Beep() override { ++beeps; }
    void SetTextInput(bool on, int column, int row) override {
        textInput = on;
        textInputColumn = column;
        textInputRow = row;
        ++textInputCalls;
    }
    void ShowMessage(const std::string& title, const std::string& text) override {
        messages.push_back(title + ": " + text);
    }
    bool WantsPixels() const override { return wantsPixels; }
    platform::PixelLayout WantedLayout() const override { return layout; }
    void SetAccessibleText(const std::string& utf8) override { accessibleTexts.push_back(utf8); }

    int presents = 0;
    int waits = 0;
    int beeps = 0;
    bool textInput = false;
    int textInputColumn = -1;
    int textInputRow = -1;
    int textInputCalls = 0;
    platform::FrameView lastFrame;
    bool wantsPixels = true;
    platform::PixelLayout layout = platform::PixelLayout::Xrgb;
    std::array<std::string, platform::kTextRows> rows;
    std::vector<std::string> messages;
    std::vector<std::string> accessibleTexts;  // every text the program handed over, in order
};

}  // namespace kestran::testing
