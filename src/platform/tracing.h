// The trace of a session played in a window or a terminal, in the form the headless backend
// writes: "@@ N KEY" and the 24 rows shown when the key came, for every key the program took.
// A recorded session replayed headless gives the same trace, which is how a recording is checked.
#pragma once

#include <array>
#include <ostream>
#include <string>

#include "platform/recording.h"
#include "platform/window_decorator.h"

namespace kestran::platform {

class TracingWindow final : public WindowDecorator {
public:
    // With `accessibleText`, each entry carries the screen's accessible text too.
    TracingWindow(Window& inner, std::ostream& out, Utf8CharToSjis encode, bool accessibleText = false);

    void Present(const FrameView& frame) override;
    void SetAccessibleText(const std::string& utf8) override;
    bool WantsFrames() const override { return true; }  // the trace holds every frame's text

private:
    void Observe(const Event& event) override;

    std::ostream& out_;
    Utf8CharToSjis encode_;
    std::array<std::string, kTextRows> rows_;
    bool shift_ = false;
    int keys_ = 0;
    bool traceAccessibleText_;
    std::string accessibleText_;
};

}  // namespace kestran::platform
