#include "runtime/frame/program.h"

#include <cstdio>
#include <new>

#include "platform/settings.h"
#include "runtime/frame/errors.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace kestran {

namespace {

constexpr std::string_view kStartupMessages[] = {
    "メモリが足りません",
    "システムに異常があります",
    "ウィンドウをオープンできません",
    "デバイスコンテキストを作成できません",
    "グラフィックビットマップを作成できません",
    "リソースが見つかりません",
    "フォームデータがありません",
    "メタファイルが作成できません",
};

constexpr std::string_view kEnglishStartupMessages[] = {
    "Out of memory",
    "The system is not working properly",
    "Cannot open the window",
    "Cannot create a device context",
    "Cannot create a graphics bitmap",
    "Resource not found",
    "No form data",
    "Cannot create a metafile",
};
static_assert(std::size(kEnglishStartupMessages) == std::size(kStartupMessages));

void StartRuntime(Runtime& rt) {
    auto& frame = rt.frame;
    frame.options = BuildOptions{};
    frame.pumpCounter = 0;
    frame.exitCode = 0;
    frame.ending = false;
    // Ctrl+C stops the program from the start; the break needs no handler.
    frame.events.Set(EventTable::kBreak, EventTable::kEnabled);
}

// An exception no part of the runtime knows: the last words, then the end.
void ReportUnexpected(Runtime& rt) {
    const auto& at = rt.frame.currentStatement;
    const bool english = ShowsEnglish(rt);
    std::string text = english ? "Fatal error, the program cannot go on: " : "続行不可能なエラーが発生しました ";
    text += ModuleName(at);
    text += english ? " [line " + std::to_string(at.line()) + "]" : " [" + std::to_string(at.line()) + "行]";
    if (rt.platform.window) {
        rt.platform.window->ShowMessage(rt.programName, text);
    } else {
        std::fprintf(stderr, "%s: %s\n", rt.programName.c_str(), text.c_str());
    }
}

// The end sequence. Files still open are closed (their output kept) only when the game ended
// by itself; after a fatal error, the break stop or the window's closing they are dropped, so a
// save cut short leaves the previous save file as it was.
void EndProgram(Runtime& rt, bool gameEnded) {
    rt.frame.ending = true;
    rt.frame.events.ClearQueue();
    if (gameEnded) CloseAllFiles(rt);
}

}  // namespace

std::string ProgramNameFromPath(std::string_view path) {
    if (const auto slash = path.find_last_of('/'); slash != std::string_view::npos) path.remove_prefix(slash + 1);
    if (const auto dot = path.find_last_of('.'); dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path.empty() ? "kestran" : path);
}

std::string MessageBoxTitle(const Runtime& rt) {
    return rt.programName + ".EXE";
}

std::string_view StartupMessageText(StartupMessage message, bool english) {
    const auto& texts = english ? kEnglishStartupMessages : kStartupMessages;
    const auto index = static_cast<std::size_t>(message) - 1;
    return index < std::size(texts) ? texts[index] : texts[1];
}

bool ShowsEnglish(const Runtime& rt) {
    return rt.platform.settings && rt.platform.settings->language == "en";
}

int RunProgram(Runtime& rt, const MainBody& body) {
    StartRuntime(rt);
    int status = kExitNormal;
    bool gameEnded = false;
    try {
        body(rt);
        status = rt.frame.exitCode;
        gameEnded = true;
    } catch (const ProgramEnd& end) {
        status = end.exitCode;
        gameEnded = end.byGame;
    } catch (const PbError& error) {
        PbReportFatal(rt, error);
        status = kExitFatalError;
    } catch (const TrapHandlerError& failed) {
        PbReportFatal(rt, failed.error);
        status = kExitFatalError;
    } catch (const std::bad_alloc&) {
        PbReportFatal(rt, PbError(7, 0, rt.frame.currentStatement));
        status = kExitFatalError;
    } catch (...) {
        ReportUnexpected(rt);
        status = kExitFatalError;
    }
    EndProgram(rt, gameEnded);
    return status;
}

}  // namespace kestran
