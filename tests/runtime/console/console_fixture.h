// A runtime with an in-memory window, for the console's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/fake_window.h"
#include "platform/platform.h"
#include "runtime/console/compositor.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::testing {

class ConsoleTest : public ::testing::Test {
protected:
    ConsoleTest() {
        platform.window = &window;
        platform.clock = &clock;
    }

    // The text of a row as UTF-8, without trailing blanks.
    std::string Row(int r) const { return RowText(rt.console.screen.rows[size_t(r)]); }
    uint8_t Cell(int column, int row) const { return rt.console.screen.rows[size_t(row)].chars[size_t(column)]; }
    CellKind Kind(int column, int row) const { return rt.console.screen.rows[size_t(row)].kinds[size_t(column)]; }
    int Column() const { return rt.console.text.cursorColumn; }
    int CursorRow() const { return rt.console.text.cursorRow; }

    FakeWindow window;
    platform::FixedClock clock{platform::LocalTime{}};
    platform::Platform platform;
    Runtime rt{platform};
};

}  // namespace kestran::testing
