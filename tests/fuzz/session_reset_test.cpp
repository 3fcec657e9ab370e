// The fuzz targets run input after input in one runtime: the game-keys target, built into this
// test, must play an input the same whatever ran before it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_save_support.h"
#include "runtime/console/graphics.h"
#include "runtime/console/screen.h"
#include "runtime/frame/statement.h"
#include "runtime/values/files.h"
#include "runtime/values/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace kestran::fuzz {
namespace {

// The target's input for `seed` and keys in script notation, each key one byte of GameKey's.
std::vector<uint8_t> GameInput(uint32_t seed, std::string_view keys) {
    std::vector<uint8_t> input = {uint8_t(seed >> 24), uint8_t(seed >> 16), uint8_t(seed >> 8), uint8_t(seed)};
    for (std::size_t i = 0; i < keys.size();) {
        const std::size_t length = keys[i] == '{' ? keys.find('}', i) + 1 - i : 1;
        const std::string_view key = keys.substr(i, length);
        int b = 0;
        while (b < 256 && GameKey(uint8_t(b)) != key)
            ++b;
        EXPECT_LT(b, 256) << key;
        input.push_back(uint8_t(b));
        i += length;
    }
    return input;
}

// The target's run of `input`: its trace, last screen, picture and drives.
std::string Record(const std::vector<uint8_t>& input) {
    recordRuns = true;
    lastRecord.clear();
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return lastRecord;
}

// A new hero, saved on drive C at its creation: a save holds every variable of the game.
const auto kNewHero = GameInput(3, "NCARL{Enter}Y{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYxx");
// The hero of drive C loaded and looked at.
const auto kTownHero = GameInput(1, "LCYxxCxx");

TEST(FuzzSessionTest, AGameAfterAnotherPlaysAsTheFirst) {
    const std::string town = Record(kTownHero);
    const std::string newHero = Record(kNewHero);
    // The predecessor's hero converted to a save on drive E and loaded, then into the labyrinth.
    EXPECT_NE(Record(GameInput(4, "DEYxxxxLEYxxM{Up}{Up}{Up}")), newHero);
    EXPECT_EQ(Record(kNewHero), newHero);
    EXPECT_EQ(Record(kTownHero), town);
}

TEST(FuzzSessionTest, NothingAProgramLeavesInTheRuntimeReachesTheNext) {
    const std::string first = Record(kNewHero);
    Session::Start({}).Run([](Runtime& rt) {
        PbOpen(rt, "C:KSSAVE", kModeOutput, 0, 1);  // still open at the end: never written
        PbPrintFileString(rt, 1, "left", PbSep::End);
        PbRandomize(rt, 7);
        rt.returns.Push();
        rt.console.text.textColour = 3;
        PbLocate(rt, 40, 12);
        PbPrintString(rt, "LEFT", PbSep::Semicolon);
        PbLine(rt, 0, 0, 639, 431);
        rt.console.keys.Put('N');  // typed ahead
        rt.console.functionKeyTexts[0] = "F1";
        rt.frame.error.lastNumber = 53;
        throw ProgramEnd{};  // as the window's closing ends it
    });
    EXPECT_EQ(Record(kNewHero), first);
}

}  // namespace
}  // namespace kestran::fuzz
