// The window the bot plays through: it keeps the screen each frame shows and, at each key wait,
// types the keys its player chooses, until the key budget is spent (then the window closes).
#pragma once

#include <deque>
#include <ostream>
#include <string>

#include "platform/recording.h"
#include "platform/window.h"
#include "strategy.h"

namespace kestran::bot {

class BotWindow final : public platform::Window {
public:
    // With `trace`, every wait writes what the headless program's --trace writes.
    BotWindow(Strategy& player, long keyBudget, platform::Utf8CharToSjis encode, std::ostream* trace = nullptr)
        : player_(player), keysLeft_(keyBudget), encode_(std::move(encode)), trace_(trace) {}

    bool WantsPixels() const override { return false; }  // the bot reads the text only
    void Present(const platform::FrameView& frame) override {
        if (frame.textRows) screen_.rows = *frame.textRows;
    }
    bool WaitEvent(platform::Event& event, int timeoutMs) override;
    bool PollEvent(platform::Event&) override { return false; }
    void Beep() override {}
    void SetTextInput(bool, int, int) override {}
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override {
        if (message_.empty()) message_ = titleUtf8 + ": " + textUtf8;
    }

    const Screen& screen() const { return screen_; }
    long keysLeft() const { return keysLeft_; }
    // The last message box: a fatal run-time error's report.
    const std::string& message() const { return message_; }

private:
    Strategy& player_;
    long keysLeft_;
    platform::Utf8CharToSjis encode_;
    Screen screen_;
    std::deque<platform::Event> pending_;
    std::string message_;
    std::ostream* trace_;
    long waits_ = 0;
};

}  // namespace kestran::bot
