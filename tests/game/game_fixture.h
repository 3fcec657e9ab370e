// A game on an in-memory window with its drive folders in a fresh temporary folder: the base of
// every test that plays the game's screens (the title, the hero, saving, the town, the labyrinth,
// the camp).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "game/game.h"
#include "game/state/start_up.h"
#include "platform/drives.h"
#include "platform/fake_window.h"
#include "platform/platform.h"
#include "platform/recording.h"
#include "runtime/console/compositor.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::game::testing {

namespace fs = std::filesystem;

class GameTest : public ::testing::Test {
protected:
    GameTest() : dir_(NewFolder()), drives_(dir_) {
        platform_.window = &window_;
        platform_.clock = &clock_;
        platform_.drives = &drives_;
        InitializeGameState(s);
    }
    ~GameTest() override { fs::remove_all(dir_); }

    // Queues keys in the key-script notation ("Y", "{Enter}", UTF-8 text as Shift-JIS bytes).
    void Keys(std::string_view script) {
        platform::KeyScript parsed;
        std::string error;
        const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
        ASSERT_TRUE(platform::ParseKeyScript(script, false, encode, parsed, error)) << error;
        for (const auto& e : parsed.keys)
            window_.waitEvents.push_back(e);
    }

    // Runs a screen with the queued keys. False when it was still waiting for a key when they
    // ran out (the window then counts as closed).
    template <class Screen>
    bool Play(Screen&& screen) {
        try {
            screen();
            return true;
        } catch (const ProgramEnd&) {
            return false;
        }
    }

    // Row r of the screen as UTF-8, without trailing blanks.
    std::string Row(int r) const { return RowText(rt.console.screen.rows[static_cast<std::size_t>(r)]); }
    bool KeysLeft() const { return !window_.waitEvents.empty(); }
    int Beeps() const { return window_.beeps; }

    fs::path DrivePath(char drive, std::string_view name) const {
        return dir_ / std::string(1, drive) / std::string(name);
    }
    static std::string ReadBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static void WriteBytes(const fs::path& p, std::string_view bytes) {
        fs::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    static fs::path NewFolder() {
        static int count = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path p = fs::temp_directory_path() / ("kestran_town_" + std::to_string(::getpid()) + "_" +
                                                  std::to_string(++count) + "_" + info->name());
        fs::remove_all(p);
        fs::create_directories(p);
        return p;
    }

    platform::Platform platform_;
    kestran::testing::FakeWindow window_;
    platform::FixedClock clock_{platform::LocalTime{}};
    fs::path dir_;
    platform::DriveMap drives_;
    Runtime rt{platform_};
    GameState s;
    Game g{rt, s};
};

}  // namespace kestran::game::testing
