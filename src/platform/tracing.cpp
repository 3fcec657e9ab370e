#include "platform/tracing.h"

namespace kestran::platform {

TracingWindow::TracingWindow(Window& inner, std::ostream& out, Utf8CharToSjis encode, bool accessibleText)
    : WindowDecorator(inner), out_(out), encode_(std::move(encode)), traceAccessibleText_(accessibleText) {}

void TracingWindow::SetAccessibleText(const std::string& utf8) {
    accessibleText_ = utf8;
    inner_.SetAccessibleText(utf8);
}

void TracingWindow::Present(const FrameView& frame) {
    if (frame.textRows) rows_ = *frame.textRows;
    inner_.Present(frame);
}

// One entry per key a replay of the recording would type: the notation is parsed back into the
// keys of a script, so a character the window delivers as text counts once per Shift-JIS byte.
void TracingWindow::Observe(const Event& event) {
    KeyScript keys;
    if (event.kind == Event::Kind::Close) {
        keys.keys.push_back(event);
    } else {
        std::string error;
        const std::string notation = RecordedNotation(event, shift_, encode_);
        if (notation.empty() || !ParseKeyScript(notation, false, encode_, keys, error)) return;
    }
    for (const Event& key : keys.keys)
        WriteTraceEntry(out_, ++keys_, key, rows_, traceAccessibleText_ ? &accessibleText_ : nullptr);
    out_.flush();
}

}  // namespace kestran::platform
