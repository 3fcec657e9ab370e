// Fuzz target: any bytes as a save file on drive C, loaded through the game's load screen. A
// refused file leaves the hero in memory as it was and file 1 free; a loaded one must be
// playable, save and load again to the same bytes, and carry the hero through a walk of the
// game without a fatal error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_save_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace kestran;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto& run = fuzz::Session::Start({{'C', "KSSAVE", bytes}});
    run.Run([&](Runtime& rt) {
        game::GameState& s = fuzz::FreshGameState(0);
        fuzz::SetMarkerHero(s);
        game::Game g{rt, s};
        const game::Scene next = fuzz::RunScreen(run, g, "CY", game::LoadCharacter);
        if (next == game::Scene::Title) {
            if (!fuzz::IsMarkerHero(s) || rt.files.Find(1)) std::abort();
            return;
        }
        if (next != game::Scene::Town) std::abort();
        fuzz::SaveLoadAndWalk(run, g, bytes, 40);
    });
    return 0;
}
