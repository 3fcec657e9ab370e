#include "runtime/console/screen.h"

#include <span>

#include "runtime/console/accessible_text.h"
#include "runtime/console/console_errors.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/number_text.h"
#include "runtime/values/numbers.h"

namespace kestran {

void RequireWindow(Runtime& rt, uint32_t site, std::source_location where) {
    if (!rt.platform.window) PbRaiseError(1000, ErrorSite(site, 1), where);
}

namespace {

// The statement boundary and the window check every screen operation starts with.
Console& BeginScreenOperation(Runtime& rt, uint32_t site, std::source_location where) {
    PbStatement(rt, where);
    RequireWindow(rt, site, where);
    return rt.console;
}

void HomeCursor(Console& c, int row) {
    c.text.cursorColumn = 0;
    c.text.cursorRow = row;
}

}  // namespace

void PbCls(Runtime& rt, double mode, std::source_location where) {
    Console& c = BeginScreenOperation(rt, console_site::kCls, where);
    const int16_t m = PbToShort(mode, where);
    const int top = c.text.consoleTop;
    const int lines = c.text.consoleLines;
    const int rows = c.text.rows;
    switch (m) {
        case 0:
        case 4:
            HomeCursor(c, top);
            c.ClearRows(0, rows);
            if (m == 4) break;
            [[fallthrough]];
        case 5:
            if (m == 5 && rt.frame.options.refuseWindowGraphics != 0) {
                PbRaiseError(90, ErrorSite(console_site::kCls, 3), where);
            }
            c.picture.Fill(kBackgroundPalette[c.text.backColour & 15]);
            c.MarkAllDirty();
            ClearAccessibleText(rt);
            break;
        case 1:
            if (lines == 0) break;
            HomeCursor(c, top);
            c.ClearRows(top, top + lines);
            break;
        case 2:
            if (top == 0) break;
            HomeCursor(c, 0);
            c.ClearRows(0, top);
            break;
        case 3:
            if (top + lines >= rows) break;
            HomeCursor(c, top + lines);
            c.ClearRows(top + lines, rows);
            break;
        default:
            PbRaiseError(5, ErrorSite(console_site::kCls, 2), where);
    }
}

void PbLocate(Runtime& rt, double x, double y, double cursorSwitch, int mask, std::source_location where) {
    Console& c = BeginScreenOperation(rt, console_site::kLocate, where);
    int column = c.text.cursorColumn;
    int row = c.text.cursorRow;
    bool on = c.text.cursorOn;
    if (mask & 1) {
        column = PbToShort(x, where);
        if (column < 0 || column >= c.text.columns) PbRaiseError(5, ErrorSite(console_site::kLocate, 2), where);
    }
    if (mask & 2) {
        row = PbToShort(y, where);
        if (row < 0 || row >= c.text.rows) PbRaiseError(5, ErrorSite(console_site::kLocate, 3), where);
    }
    if (mask & 4) {
        const int16_t s = PbToShort(cursorSwitch, where);
        if (s != 0 && s != 1) PbRaiseError(5, ErrorSite(console_site::kLocate, 4), where);
        on = s == 1;
    }
    c.text.cursorColumn = column;
    c.text.cursorRow = row;
    c.text.cursorOn = on;
}

void PbLocate(Runtime& rt, double x, double y, std::source_location where) {
    PbLocate(rt, x, y, 0, 3, where);
}

void PbPrintString(Runtime& rt, std::string_view s, PbSep sep, std::source_location where) {
    BeginScreenOperation(rt, console_site::kPrint, where).PrintItem(s, sep);
}

void PbPrintNumber(Runtime& rt, float v, PbSep sep, std::source_location where) {
    BeginScreenOperation(rt, console_site::kPrint, where).PrintItem(PbPrintedNumber(v), sep);
}

void PbPrintNumber(Runtime& rt, double v, PbSep sep, std::source_location where) {
    BeginScreenOperation(rt, console_site::kPrint, where).PrintItem(PbPrintedNumber(v), sep);
}

void PbPrintUsing(Runtime& rt, std::string_view picture, std::initializer_list<double> items, PbSep last,
                  std::source_location where) {
    Console& c = BeginScreenOperation(rt, console_site::kPrint, where);
    c.PrintItem(PbFormatUsing(picture, std::span<const double>(items.begin(), items.size()), where), last);
}

}  // namespace kestran
