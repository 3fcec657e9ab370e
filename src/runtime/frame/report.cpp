// The fatal error report and the break stop, with the key wait they share.
#include <cstdio>
#include <string>

#include "platform/errmsg_library.h"
#include "platform/error_log.h"
#include "platform/settings.h"
#include "runtime/console/keyboard.h"
#include "runtime/frame/errors.h"
#include "runtime/frame/program.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"
#include "runtime/values/sjis_literal.h"

namespace kestran {

namespace {

constexpr const char* kRuntimeVersion = "KESTRAN RTL 1.0";

std::string ErrorMessageText(const Runtime& rt, int number, unsigned bufferSize) {
    if (!rt.platform.settings) return {};
    return platform::LookupErrorMessage(
        rt.platform.settings->errorMessageFolder, number, bufferSize,
        ShowsEnglish(rt) ? platform::MessageLanguage::English : platform::MessageLanguage::Japanese);
}

// "%d/%02d/%02d %02d:%02d:%02d"
std::string LogTime(const Runtime& rt) {
    const platform::SystemClock system;
    const platform::Clock& clock = rt.platform.clock ? *rt.platform.clock : system;
    const auto t = clock.Now();
    char text[64];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

void WriteErrorLog(const Runtime& rt, const std::string& module, const PbError& error) {
    if (!rt.platform.errorLog) return;
    platform::FatalErrorRecord record;
    record.module = module;
    record.line = error.line();
    record.code = static_cast<uint32_t>(error.number());
    record.func = error.site() / 256;
    record.info = error.site() % 256;
    record.time = LogTime(rt);
    record.mode = "独立型";
    record.rtl = kRuntimeVersion;
    rt.platform.errorLog->WriteFatal(record);
}

// A message box stands alone: no blank first line, line feeds only.
std::string BoxText(std::string_view sjis) {
    std::string utf8 = SjisToUtf8(sjis);
    std::string out;
    for (char c : utf8) {
        if (c != '\r') out += c;
    }
    const auto first = out.find_first_not_of('\n');
    return first == std::string::npos ? std::string() : out.substr(first);
}

// Waits for any key with `text` on the screen; the key ring is emptied before and after. The
// window closed during the wait ends the program (ProgramEnd passes out).
void PressAnyKey(Runtime& rt, std::string_view text) {
    auto& console = rt.console;
    ++rt.frame.error.reportDepth;
    const bool cursor = console.text.cursorOn;
    struct Restore {
        Runtime& rt;
        bool cursor;
        ~Restore() {
            rt.console.text.cursorOn = cursor;
            rt.console.ClearKeys();
            --rt.frame.error.reportDepth;
        }
    } restore{rt, cursor};
    console.WriteText(text);
    console.ClearKeys();
    console.text.cursorOn = true;
    WaitKey(rt, KeyWait::Plain);
    console.text.cursorOn = cursor;
    console.ClearKeys();
    console.WriteText("\r\n");
    console.Present(rt);
}

std::string PressAnyKeyText(const Runtime& rt) {
    return ShowsEnglish(rt) ? "\r\nPress any key" : "\r\n任意のキーを押してください"_sj.str();
}

// " [12行]" as the report names the line the program stopped at.
std::string LineText(const Runtime& rt, int line) {
    return ShowsEnglish(rt) ? " [line " + std::to_string(line) + "]" : " [" + std::to_string(line) + "行]"_sj.str();
}

}  // namespace

void PbReportFatal(Runtime& rt, const PbError& error) {
    rt.frame.error.lastNumber = error.number();
    const std::string module = ModuleName(error.where());
    PbString line = "\r\n" + module + LineText(rt, error.line()) +
                    (ShowsEnglish(rt) ? ": error [" : ":エラー["_sj.str()) + std::to_string(error.number()) + "]";
    WriteErrorLog(rt, module, error);
    if (!rt.platform.window) {
        std::string text = line;
        if (auto more = ErrorMessageText(rt, error.number(), platform::kMessageBoxBuffer); !more.empty()) {
            text += "\n" + more;
        }
        std::fprintf(stderr, "%s: %s\n", MessageBoxTitle(rt).c_str(), BoxText(text).c_str());
        return;
    }
    try {
        rt.console.WriteText(line);
        if (auto more = ErrorMessageText(rt, error.number(), platform::kScreenReportBuffer); !more.empty()) {
            rt.console.WriteText("\r\n" + more);
        }
        PressAnyKey(rt, PressAnyKeyText(rt));
    } catch (const PbError&) {
        // The report cannot fail further: an error inside it is ignored.
    } catch (const ProgramEnd&) {
        // The window closed during the key wait: the report is over.
    }
}

void PbBreakStop(Runtime& rt) {
    const auto& at = rt.frame.currentStatement;
    const PbString text = (ShowsEnglish(rt) ? "\r\nStopped at " : "\r\n中断しました "_sj.str()) + ModuleName(at) +
                          LineText(rt, at.line()).substr(1) + " " + PressAnyKeyText(rt);
    rt.frame.ending = true;
    if (rt.platform.window) {
        try {
            PressAnyKey(rt, text);
        } catch (const PbError&) {
        }
    } else {
        std::fprintf(stderr, "%s: %s\n", MessageBoxTitle(rt).c_str(), BoxText(text).c_str());
    }
    throw ProgramEnd{rt.frame.exitCode};
}

}  // namespace kestran
