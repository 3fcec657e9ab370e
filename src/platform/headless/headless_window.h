// The headless backend: key scripts in, screen dumps and traces out. Nothing is shown.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/png_writer.h"
#include "platform/window.h"

namespace kestran::platform {

class HeadlessWindow final : public Window {
public:
    // `keys` are typed one at a time, each when the program waits for a key; when they are used
    // up the window counts as closed. With `trace`, every wait writes "@@ N KEY" and the 24
    // rows of the screen (and the accessible text, when asked for).
    explicit HeadlessWindow(std::vector<Event> keys, std::ostream* trace = nullptr);

    void Present(const FrameView& frame) override;
    bool WaitEvent(Event& event, int timeoutMs) override;
    bool PollEvent(Event&) override { return false; }  // keys come only when the program waits
    void Beep() override { ++beeps_; }
    void SetTextInput(bool on, int column, int row) override;
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override;
    bool WantsPixels() const override { return wantsPixels_; }
    // Without pixels, frames bring only their text (a run that dumps no picture).
    void SetWantsPixels(bool wanted) { wantsPixels_ = wanted; }
    void SetAccessibleText(const std::string& utf8) override { accessibleText_ = utf8; }
    // Whether each trace entry carries the screen's accessible text (off unless asked for).
    void SetTraceAccessibleText(bool on) { traceAccessibleText_ = on; }

    // The last frame presented.
    const std::vector<uint32_t>& pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The 24 rows as UTF-8 without trailing blanks, each ending in "\n".
    std::string ScreenText() const;

    int waits() const { return waits_; }
    int beeps() const { return beeps_; }
    bool textInput() const { return textInput_; }
    int textInputColumn() const { return textInputColumn_; }
    int textInputRow() const { return textInputRow_; }

private:
    std::vector<Event> keys_;
    size_t next_ = 0;
    std::ostream* trace_;
    std::vector<uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    std::array<std::string, kTextRows> rows_;
    int waits_ = 0;
    int beeps_ = 0;
    bool textInput_ = false;
    int textInputColumn_ = 0;
    int textInputRow_ = 0;
    bool wantsPixels_ = true;
    std::string accessibleText_;
    bool traceAccessibleText_ = false;
};

}  // namespace kestran::platform
