// The trace of a session played in a window or a terminal, in the form the headless backend
// writes: "@@ N KEY" and the 24 rows shown when the key came, for every key the program took.
// A recorded session replayed headless gives the same trace, which is how a recording is checked.
#pragma once

#include <array>
#include <ostream>
#include <string>

#include "platform/recording.h"
#include "platform/window.h"

namespace kestran::platform {

class TracingWindow final : public Window {
public:
    TracingWindow(Window& inner, std::ostream& out, Utf8CharToSjis encode);

    void Present(const FrameView& frame) override;
    bool WaitEvent(Event& event, int timeoutMs) override;
    bool PollEvent(Event& event) override;
    void Beep() override { inner_.Beep(); }
    void SetTextInput(bool on, int column, int row) override { inner_.SetTextInput(on, column, row); }
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override {
        inner_.ShowMessage(titleUtf8, textUtf8);
    }
    bool WantsPixels() const override { return inner_.WantsPixels(); }

private:
    void Trace(const Event& event);

    Window& inner_;
    std::ostream& out_;
    Utf8CharToSjis encode_;
    std::array<std::string, kTextRows> rows_;
    bool shift_ = false;
    int keys_ = 0;
};

}  // namespace kestran::platform
