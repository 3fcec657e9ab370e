// A hero placed in the labyrinth, with helpers to tell the game's own end (the hero's death) from
// the end of the queued keys, and to foresee the random generator.
#pragma once

#include "game/dungeon/corridor_view.h"
#include "game/game_fixture.h"
#include "runtime/frame/statement.h"

namespace kestran::game::testing {

class DungeonTest : public GameTest {
protected:
    DungeonTest() {
        s.heroName = "アキラ"_sj;
        s.heroLevel = 1;
        s.heroStats(7) = 50;
        s.maxHp = 50;
        s.heroStats(9) = 20;
        s.maxTp = 20;
    }

    void StandAt(double floor, double x, double y, double facing) {
        s.dungeonFloor = floor;
        s.posX = x;
        s.posY = y;
        s.facing = facing;
    }

    enum class Ended { Returned, KeysRanOut, ByGame };

    // Runs a screen with the queued keys and tells how it ended.
    template <class Screen>
    Ended Run(Screen&& screen) {
        try {
            screen();
            return Ended::Returned;
        } catch (const ProgramEnd& end) {
            return end.byGame ? Ended::ByGame : Ended::KeysRanOut;
        }
    }

    // The RND values the generator will give next, without drawing them.
    std::vector<double> NextRnd(int count) const {
        RandomGenerator r = rt.random;
        std::vector<double> values;
        for (int i = 0; i < count; ++i) {
            r.Step();
            while (r.Mantissa() == 0)
                r.Step();
            values.push_back(static_cast<float>(r.Mantissa()) / 8388608.0f);
        }
        return values;
    }

    // Sets the generator so that the next RND satisfies `wanted`; searches seeds from `from`.
    template <class Wanted>
    void SeedSoThat(Wanted&& wanted, uint32_t from = 1) {
        for (uint32_t seed = from;; ++seed) {
            rt.random.seed = seed;
            if (wanted(NextRnd(1)[0])) return;
        }
    }

    // Sets the generator so that the next `count` RND satisfy `wanted` (given them in order).
    template <class Wanted>
    void SeedWhere(int count, Wanted&& wanted, uint32_t from = 1) {
        for (uint32_t seed = from;; ++seed) {
            rt.random.seed = seed;
            if (wanted(NextRnd(count))) return;
        }
    }

    // How many RND were drawn since `before` (a copy of the generator taken earlier).
    int DrawsSince(RandomGenerator before) const {
        for (int n = 0; n < 100000; ++n) {
            if (before.seed == rt.random.seed) return n;
            before.Step();
        }
        return -1;
    }

    bool RowStartsWith(int r, std::string_view text) const { return Row(r).rfind(text, 0) == 0; }

    static std::string Utf8(std::string_view sjis) { return SjisToUtf8(sjis); }

    // Puts a chest (or any event) back on the hero's cell.
    void SetHeroCellEventForTest(std::string_view event) {
        s.mapEvents(double(s.dungeonFloor) - 1, s.posY).replace(std::size_t(s.posX) - 1, 1, event);
    }

    std::string Event(double floor, double x, double y) {
        return s.mapEvents(floor - 1, y).substr(std::size_t(x) - 1, 1);
    }
};

}  // namespace kestran::game::testing
