// Fuzz target: any bytes as a predecessor's save on drive C, converted through the game's
// conversion screen. A refused file leaves the hero in memory as it was and no new save; a
// converted one must have written a save that loads to a playable hero, which then saves and
// loads again to the same bytes and walks the game without a fatal error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_save_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace kestran;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto& run = fuzz::Session::Start({{'C', "VELDSAVE", bytes}});
    run.Run([&](Runtime& rt) {
        game::GameState& s = fuzz::FreshGameState(0);
        fuzz::SetMarkerHero(s);
        game::Game g{rt, s};
        const game::Scene next = fuzz::RunScreen(run, g, "CY", game::ConvertCharacter);
        if (next != game::Scene::Title || rt.files.Find(1)) std::abort();
        if (!run.ReadDriveFile('C', "KSSAVE")) {
            if (!fuzz::IsMarkerHero(s)) std::abort();  // refused: nothing may have changed
            return;
        }
        game::Game lg{rt, fuzz::FreshGameState(1)};
        if (fuzz::RunScreen(run, lg, "CY", game::LoadCharacter) != game::Scene::Town) std::abort();
        fuzz::SaveLoadAndWalk(run, lg, bytes, 40);
    });
    return 0;
}
