// Composition of the frame: a full frame of text over lines against a plain copy of the same
// frame (the target is at most three copies), and a full screen of double-byte text printed
// and composed (the target is well under a millisecond).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/font.h"
#include "runtime/console/graphics.h"
#include "runtime/console/screen.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis_literal.h"

namespace {

using namespace kestran;
using namespace kestran::literals;

class NullWindow final : public platform::Window {
public:
    void Present(const platform::FrameView& frame) override { last = frame; }
    bool WaitEvent(platform::Event&, int) override { return false; }
    bool PollEvent(platform::Event&) override { return false; }
    void Beep() override {}
    void SetTextInput(bool, int, int) override {}
    void ShowMessage(const std::string&, const std::string&) override {}
    platform::FrameView last;
};

struct Bench {
    Bench() {
        std::string error;
        if (!platform::LoadFont(font, "", error)) throw std::runtime_error(error);
        p.window = &window;
        p.font = &font;
    }
    platform::Font font;
    NullWindow window;
    platform::Platform p;
    Runtime rt{p};
};

// A corridor-like picture and 24 full rows of text.
void FillScreen(Runtime& rt) {
    PbCls(rt);
    for (int i = 0; i < 40; ++i)
        PbLine(rt, i * 16, 0, 639 - i * 16, 431);
    for (int r = 0; r < 24; ++r) {
        std::string row;
        for (int c = 0; c < 80; ++c)
            row += char('!' + (r * 80 + c) % 94);
        PbLocate(rt, 0, r);
        PbPrintString(rt, row, PbSep::Semicolon);
    }
}

void BM_ComposeFullFrame(benchmark::State& state) {
    Bench b;
    FillScreen(b.rt);
    for (auto _ : state) {
        b.rt.console.MarkAllDirty();
        b.rt.console.Present(b.rt);
        benchmark::DoNotOptimize(b.window.last.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kPictureWidth * kPictureHeight * 4);
}
BENCHMARK(BM_ComposeFullFrame);

void BM_CopyFullFrame(benchmark::State& state) {
    Bench b;
    FillScreen(b.rt);
    b.rt.console.Present(b.rt);
    std::vector<uint32_t> copy(size_t(kPictureWidth) * kPictureHeight);
    for (auto _ : state) {
        std::memcpy(copy.data(), b.window.last.pixels, copy.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kPictureWidth * kPictureHeight * 4);
}
BENCHMARK(BM_CopyFullFrame);

void BM_PrintAndComposeDoubleByteScreen(benchmark::State& state) {
    Bench b;
    std::string row;
    for (int i = 0; i < 4; ++i)
        row += "迷宮の奥で毒の霧が"_sj.str() + "立"_sj.str();  // 40 characters, 80 cells
    // The last row stops one character short: its 80th cell would scroll the screen.
    const std::string lastRow = row.substr(0, row.size() - 2);
    for (auto _ : state) {
        PbCls(b.rt, 4);
        for (int r = 0; r < 24; ++r) {
            PbLocate(b.rt, 0, r);
            PbPrintString(b.rt, r < 23 ? row : lastRow, PbSep::Semicolon);
        }
        b.rt.console.Present(b.rt);
        benchmark::DoNotOptimize(b.window.last.pixels);
    }
}
BENCHMARK(BM_PrintAndComposeDoubleByteScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
