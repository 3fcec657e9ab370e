// Fuzz target: the whole game played by any keys. The first four bytes are the game's seed;
// every further byte is one key of the game. Drive C holds a hero in the town, drive D one in
// the labyrinth and drive E a predecessor's hero, fresh for every input. The game ends only by
// its own end, the hero's death or the keys running out, never by a fatal error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_save_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace kestran;
    static const std::string town = fuzz::SeedSave("town.KSSAVE");
    static const std::string labyrinth = fuzz::SeedSave("labyrinth.KSSAVE");
    static const std::string predecessor = fuzz::SeedSave("predecessor.VELDSAVE");
    auto& run =
        fuzz::Session::Start({{'C', "KSSAVE", town}, {'D', "KSSAVE", labyrinth}, {'E', "VELDSAVE", predecessor}});
    uint32_t seed = 0;
    std::size_t i = 0;
    for (; i < 4 && i < size; ++i)
        seed = seed << 8 | data[i];
    for (; i < size; ++i)
        fuzz::TypeGameKey(run.window, data[i]);
    run.Run([seed](Runtime& rt) { game::RunGame(rt, fuzz::FreshGameState(0), seed); });
    return 0;
}
