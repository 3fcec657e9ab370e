#include "platform/headless/headless_window.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "platform/recording.h"

namespace kestran::platform {

HeadlessWindow::HeadlessWindow(std::vector<Event> keys, std::ostream* trace) : keys_(std::move(keys)), trace_(trace) {}

void HeadlessWindow::Present(const FrameView& frame) {
    if (frame.width != width_ || frame.height != height_) {
        width_ = frame.width;
        height_ = frame.height;
        pixels_.assign(size_t(width_) * size_t(height_), 0);
        // A new size: take the whole frame.
        if (frame.pixels) std::memcpy(pixels_.data(), frame.pixels, pixels_.size() * sizeof(uint32_t));
    } else if (frame.pixels && frame.dirtyBottom > frame.dirtyTop) {
        const int top = std::clamp(frame.dirtyTop, 0, height_);
        const int bottom = std::clamp(frame.dirtyBottom, 0, height_);
        const size_t offset = size_t(top) * size_t(width_);
        std::memcpy(pixels_.data() + offset, frame.pixels + offset, size_t(bottom - top) * size_t(width_) * 4);
    }
    if (frame.textRows) rows_ = *frame.textRows;
}

std::string HeadlessWindow::ScreenText() const {
    std::string out;
    for (const auto& row : rows_) {
        out += row;
        out += '\n';
    }
    return out;
}

bool HeadlessWindow::WaitEvent(Event& event, int) {
    ++waits_;
    event = next_ < keys_.size() ? keys_[next_++] : Event::Of(Event::Kind::Close);
    if (trace_) {
        WriteTraceEntry(*trace_, waits_, event, rows_, traceAccessibleText_ ? &accessibleText_ : nullptr);
        trace_->flush();
    }
    return true;
}

void HeadlessWindow::SetTextInput(bool on, int column, int row) {
    textInput_ = on;
    textInputColumn_ = column;
    textInputRow_ = row;
}

void HeadlessWindow::ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) {
    std::cerr << titleUtf8 << ": " << textUtf8 << '\n';
}

}  // namespace kestran::platform
