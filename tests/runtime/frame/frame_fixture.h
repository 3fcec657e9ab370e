// A runtime with an in-memory window, a fixed clock and an in-memory error log, for the frame's
// tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/error_log.h"
#include "platform/fake_window.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "runtime/frame/program.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"

namespace kestran::testing {

// Counts the message pump's looks at the window.
class PumpCountingWindow : public FakeWindow {
public:
    bool PollEvent(Event& event) override {
        ++polls;
        return FakeWindow::PollEvent(event);
    }
    int polls = 0;
};

class MemoryErrorLog : public platform::ErrorLog {
public:
    void WriteFatal(const platform::FatalErrorRecord& record) override { fatal.push_back(record); }
    void WriteApiError(uint32_t code) override { apiErrors.push_back(code); }
    std::vector<platform::FatalErrorRecord> fatal;
    std::vector<uint32_t> apiErrors;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest() {
        platform.window = &window;
        platform.clock = &clock;
        platform.errorLog = &log;
        // The error-message library as the build puts it beside the program.
        settings.errorMessageFolder = KESTRAN_BINARY_DIR "/src";
        platform.settings = &settings;
    }

    // The row of the last presented frame that contains `text` (UTF-8), or -1.
    int RowWith(const std::string& text) const {
        for (int r = 0; r < platform::kTextRows; ++r) {
            if (window.rows[static_cast<std::size_t>(r)].find(text) != std::string::npos) return r;
        }
        return -1;
    }
    const std::string& Row(int r) const { return window.rows[static_cast<std::size_t>(r)]; }

    PumpCountingWindow window;
    platform::FixedClock clock{platform::LocalTime{1999, 7, 4, 9, 5, 0}};
    MemoryErrorLog log;
    platform::Settings settings;
    platform::Platform platform;
    Runtime rt{platform};
};

}  // namespace kestran::testing
