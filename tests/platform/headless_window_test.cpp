#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestran::platform {
namespace {

struct Frame {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(640) * 432, 0);
    std::array<std::string, kTextRows> rows;

    FrameView View(int dirtyTop, int dirtyBottom) const {
        FrameView v;
        v.pixels = pixels.data();
        v.width = 640;
        v.height = 432;
        v.dirtyTop = dirtyTop;
        v.dirtyBottom = dirtyBottom;
        v.textRows = &rows;
        return v;
    }
};

TEST(HeadlessWindowTest, KeysComeOneAtATimeAndTheEndClosesTheWindow) {
    HeadlessWindow window({Event::Character('a'), Event::KeyDown(Key::Up)});
    Event e;
    EXPECT_FALSE(window.PollEvent(e));
    ASSERT_TRUE(window.WaitEvent(e, -1));
    EXPECT_EQ(e.byte, 'a');
    ASSERT_TRUE(window.WaitEvent(e, -1));
    EXPECT_EQ(e.key, Key::Up);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(window.WaitEvent(e, -1));
        EXPECT_EQ(e.kind, Event::Kind::Close);
    }
    EXPECT_EQ(window.waits(), 4);
}

TEST(HeadlessWindowTest, TheTraceShowsEachWaitWithTheKeyAboutToBeRead) {
    std::ostringstream trace;
    HeadlessWindow window({Event::Character('x'), Event::Character(0x83)}, &trace);
    Frame f;
    f.rows[0] = "TITLE";
    f.rows[23] = "end";
    window.Present(f.View(0, 432));
    Event e;
    window.WaitEvent(e, -1);
    window.WaitEvent(e, -1);
    window.WaitEvent(e, -1);
    const std::string screen = "TITLE\n" + std::string(22, '\n') + "end\n";
    EXPECT_EQ(trace.str(), "@@ 1 x\n" + screen + "@@ 2 {x83}\n" + screen + "@@ 3 {Close}\n" + screen);
    EXPECT_EQ(window.ScreenText(), screen);
}

TEST(HeadlessWindowTest, PresentTakesOnlyTheDirtyRows) {
    HeadlessWindow window({});
    Frame f;
    window.Present(f.View(0, 0));  // the first frame is taken whole
    f.pixels[0] = 1;
    f.pixels[size_t(100) * 640] = 2;
    window.Present(f.View(90, 108));
    EXPECT_EQ(window.pixels()[0], 0u);
    EXPECT_EQ(window.pixels()[size_t(100) * 640], 2u);
}

TEST(HeadlessWindowTest, WritesAPngOfTheFrame) {
    const auto path = std::filesystem::temp_directory_path() / "kestran_headless_test.png";
    std::vector<uint32_t> pixels(size_t(4) * 3, 0x123456);
    std::string error;
    ASSERT_TRUE(WritePng(path.string(), pixels.data(), 4, 3, error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::string head(24, '\0');
    in.read(head.data(), 24);
    EXPECT_EQ(head.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(head.substr(12, 4), "IHDR");
    EXPECT_EQ(head.substr(16, 8), std::string("\0\0\0\4\0\0\0\3", 8));  // width 4, height 3
    std::filesystem::remove(path);
    EXPECT_FALSE(WritePng("/nonexistent/dir/x.png", pixels.data(), 4, 3, error));
    EXPECT_FALSE(WritePng(path.string(), nullptr, 0, 0, error));
}

}  // namespace
}  // namespace kestran::platform
