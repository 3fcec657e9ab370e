// A window that passes everything to another window: the base of the windows that watch a
// session (recording its keys, tracing its screens) without changing it.
#pragma once

#include <string>

#include "platform/window.h"

namespace kestran::platform {

class WindowDecorator : public Window {
public:
    explicit WindowDecorator(Window& inner) : inner_(inner) {}

    void Present(const FrameView& frame) override { inner_.Present(frame); }
    bool WaitEvent(Event& event, int timeoutMs) override {
        const bool got = inner_.WaitEvent(event, timeoutMs);
        if (got) Observe(event);
        return got;
    }
    bool PollEvent(Event& event) override {
        const bool got = inner_.PollEvent(event);
        if (got) Observe(event);
        return got;
    }
    void Beep() override { inner_.Beep(); }
    void SetTextInput(bool on, int column, int row) override { inner_.SetTextInput(on, column, row); }
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override {
        inner_.ShowMessage(titleUtf8, textUtf8);
    }
    void ShowStatus(const std::string& lineUtf8) override { inner_.ShowStatus(lineUtf8); }
    bool WantsPixels() const override { return inner_.WantsPixels(); }
    PixelLayout WantedLayout() const override { return inner_.WantedLayout(); }
    bool WantsFrames() const override { return inner_.WantsFrames(); }
    void SetAccessibleText(const std::string& utf8) override { inner_.SetAccessibleText(utf8); }

protected:
    // Sees every event the program takes, by waiting or by polling, before the program does.
    virtual void Observe(const Event& event) = 0;

    Window& inner_;
};

}  // namespace kestran::platform
