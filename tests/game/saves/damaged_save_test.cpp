// Damaged saves, by the thousand: a save of a hero in the town, one in the labyrinth and a
// predecessor's save, cut at every byte, with every line blanked, with bytes changed from a fixed
// seed, and with the damage editors and disks do. Every file either loads to a hero the game can
// play on, or the load trap's screen shows and every game variable is as it was.
#include <iostream>
#include <random>
#include <string>

#include "game/game_fixture.h"
#include "game/saves/save_file.h"
#include "game/saves/saving.h"
#include "game/saves/state_compare.h"

namespace kestran::game::testing {
namespace {

struct SaveKind {
    const char* seedFile;  // in tests/fuzz_saves/
    const char* entry;     // the name on drive C
    Scene (*routine)(Game&);
};

const SaveKind kKinds[] = {{"town.KSSAVE", "KSSAVE", LoadCharacter},
                           {"labyrinth.KSSAVE", "KSSAVE", LoadCharacter},
                           {"predecessor.VELDSAVE", "VELDSAVE", ConvertCharacter}};

class DamagedSaveTest : public GameTest, public ::testing::WithParamInterface<SaveKind> {
protected:
    DamagedSaveTest() {
        s.heroName = "BEFORE";
        s.gold = 4321;
        s.mapEvents(5, 0) = "99999999999999999999";
        before_ = s;
    }

    ~DamagedSaveTest() override {
        std::cout << "  " << GetParam().seedFile << ": " << tried_ << " files tried, " << loaded_ << " loaded, "
                  << tried_ - loaded_ << " refused\n";
    }

    static std::string Good() {
        return ReadBytes(fs::path(KESTRAN_SOURCE_DIR) / "tests/fuzz_saves" / GetParam().seedFile);
    }

    static std::vector<std::string> Lines(const std::string& bytes) {
        std::vector<std::string> lines;
        for (std::size_t pos = 0, end; (end = bytes.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            lines.push_back(bytes.substr(pos, end - pos));
        return lines;
    }

    static std::string Join(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& line : lines)
            bytes += line + "\r\n";
        return bytes + "\x1A";
    }

    // Loads (or converts) `bytes` and checks the one contract. A loaded hero is played a few keys.
    void Try(const std::string& bytes) {
        ++tried_;
        s = before_;
        window_.waitEvents.clear();
        fs::remove(DrivePath('C', "KSSAVE"));
        WriteBytes(DrivePath('C', GetParam().entry), bytes);
        Keys("CYxxxxxx");
        Scene next = Scene::Title;
        ASSERT_TRUE(Play([&] { next = GetParam().routine(g); }));
        EXPECT_EQ(rt.files.Find(1), nullptr);
        if (Row(1) == " デバイスもしくはセーブファイルが見つかりませんでした") {
            ASSERT_EQ(next, Scene::Title);
            ASSERT_TRUE(SameState(before_, s)) << "a refused file changed the game, at try " << tried_;
            return;
        }
        ++loaded_;
        ASSERT_TRUE(IsPlayableSave(s));
        window_.waitEvents.clear();
        Keys("{Up}{Left}{Up}C1x{Esc}{Right}{Up}{Down}IxRxx");
        next = Scene::Town;
        EXPECT_FALSE(Play([&] {
            for (;;)
                next = RunScene(g, next);
        }));
    }

    GameState before_;
    int tried_ = 0;
    int loaded_ = 0;
};

TEST_P(DamagedSaveTest, TheGoodFileLoads) {
    Try(Good());
    EXPECT_EQ(loaded_, 1);
}

TEST_P(DamagedSaveTest, CutAtEveryByte) {
    const std::string good = Good();
    for (std::size_t n = 0; n < good.size() && !HasFatalFailure(); ++n)
        Try(good.substr(0, n));
    // Without its end mark, or its last line end, the file is still whole.
    EXPECT_GE(loaded_, 2);
    EXPECT_LE(loaded_, 4);
}

TEST_P(DamagedSaveTest, EveryLineBlanked) {
    const auto lines = Lines(Good());
    for (std::size_t i = 0; i < lines.size() && !HasFatalFailure(); ++i) {
        auto damaged = lines;
        damaged[i].clear();
        Try(Join(damaged));
    }
}

TEST_P(DamagedSaveTest, BytesChangedFromAFixedSeed) {
    const std::string good = Good();
    std::mt19937 gen(77);
    for (int i = 0; i < 400 && !HasFatalFailure(); ++i) {
        std::string damaged = good;
        for (int flips = 1 + int(gen() % 3); flips > 0; --flips)
            damaged[gen() % damaged.size()] = char(gen());
        Try(damaged);
    }
}

TEST_P(DamagedSaveTest, WhatEditorsAndDisksDo) {
    const std::string good = Good();
    const auto lines = Lines(good);
    std::string noCr = good;
    std::erase(noCr, '\r');
    Try(noCr);                                             // a lone LF is an ordinary byte: the fields run together
    Try(std::string(good.size(), '\0'));                   // a file of NUL bytes
    Try(good.substr(0, 200) + '\x1A' + good.substr(200));  // a second end mark inside
    std::string nulInName = good;
    nulInName.insert(good.find(','), 1, '\0');
    Try(nulInName);
    Try(std::string(10 * 1024 * 1024, '1'));  // 10 MB
    Try(Join(lines) + std::string(10 * 1024 * 1024, ' '));
}

TEST_P(DamagedSaveTest, ImpossibleNumbers) {
    const auto lines = Lines(Good());
    const std::size_t position = 22;  // max HP .. stealth walk
    for (const char* row :
         {" 54 , 50 , 60 , 500 , 9 , 1 , 0 , 1 , 1 , 0 ",  // floor 9
          " 54 , 50 , 60 , 500 , -1 , 1 , 0 , 1 , 1 , 0 ", " 54 , 50 , 60 , 500 , 1.5 , 1 , 0 , 1 , 1 , 0 ",
          " 54 , 50 , 60 , 500 , 1 , 1 , 0 , -3 , 1 , 0 ",   // a negative level
          " 54 , 50 , 60 , 1E+39 , 0 , 0 , 0 , 1 , 0 , 0 ",  // over a single's range
          " 54 , 50 , 60 , 1D+308 , 0 , 0 , 0 , 1 , 0 , 0 ", " 54 , 50 , 60 , 1E-45 , 1 , 1E+38 , 0 , 1 , 1 , 0 "}) {
        auto damaged = lines;
        damaged[position] = row;
        Try(Join(damaged));
        EXPECT_EQ(loaded_, 0) << row;
    }
    EXPECT_EQ(tried_, 7);
    // Negative or huge counts that the game only adds to or shows load, and the game plays on.
    for (const char* stat : {" -32768 ", " 1E+38 ", " -1E+38 ", " 0 "}) {
        auto damaged = lines;
        for (std::size_t i = 0; i < 11; ++i)
            damaged[i] = stat;
        Try(Join(damaged));
    }
}

INSTANTIATE_TEST_SUITE_P(Saves, DamagedSaveTest, ::testing::ValuesIn(kKinds),
                         [](const auto& p) { return std::string(p.param.entry) + std::to_string(p.index); });

}  // namespace
}  // namespace kestran::game::testing
