// A hero with items to carry and wear, on the in-memory window of the town's tests, for the
// camp, the character menu and the backpack screens.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "game/camp/character_menu.h"
#include "game/game_fixture.h"
#include "game/hero_slots.h"
#include "runtime/values/numbers.h"
#include "runtime/values/sjis.h"

namespace kestran::game::testing {

constexpr int kRightHand = 2;
constexpr int kLeftHand = 3;

// Indices of the item table.
enum Item : int {
    kDagger = 0,
    kShortSword = 1,
    kBroadSword = 2,  // strength 25
    kLeatherArmour = 8,
    kChainMail = 9,
    kCap = 11,
    kSmallShield = 15,
    kBoots = 18,
    kGreatSword = 25,  // both hands, strength 30
    kSunStone = 37,    // carries the hero home
    kPanacea = 59,     // cures both; 100 hit, 50 magic, 50 technique points
};

class CampTest : public GameTest {
protected:
    CampTest() {
        s.heroName = "CAMPER";
        for (int i = 0; i < kAttributeCount; ++i)
            s.heroStats(i) = 30;
        s.maxHp = 100;
        s.maxMp = 80;
        s.maxTp = 60;
        s.heroStats(kHitPoints) = s.maxHp;
        s.heroStats(kMagicPoints) = s.maxMp;
        s.heroStats(kTechniquePoints) = s.maxTp;
        s.heroLevel = 1;
        s.handedness = "右"_sj;
    }

    // Puts item `item` of the table into backpack slot `slot`, identified or not.
    void Carry(int slot, int item, bool identified = true) {
        s.inventoryTrueName(slot) = s.itemTrueName(item);
        s.inventoryName(slot) = identified ? s.itemTrueName(item) : "?" + s.itemGenericName(item);
        s.inventoryCode(slot) = s.itemCode(item);
    }
    void Wear(int slot, int item) {
        s.equipTrueName(slot) = s.itemTrueName(item);
        s.equipName(slot) = s.itemTrueName(item);
        s.equipCode(slot) = s.itemCode(item);
    }

    // The true name in backpack slot `slot` / equipment slot `slot` as UTF-8 ("" when free).
    std::string Carried(int slot) { return SjisToUtf8(s.inventoryTrueName(slot)); }
    std::string Worn(int slot) { return SjisToUtf8(s.equipTrueName(slot)); }

    // Every item the hero has, worn or carried, as its three strings in order: what a key
    // sequence must never lose, copy or corrupt.
    std::vector<std::string> Possessions() {
        std::vector<std::string> all;
        for (int i = 0; i < kBackpackSlots; ++i) {
            if (!s.inventoryTrueName(i).empty())
                all.push_back(s.inventoryTrueName(i) + "|" + s.inventoryName(i) + "|" + s.inventoryCode(i));
        }
        for (int i = 0; i < kEquipSlots; ++i) {
            if (!s.equipTrueName(i).empty())
                all.push_back(s.equipTrueName(i) + "|" + s.equipName(i) + "|" + s.equipCode(i));
        }
        std::sort(all.begin(), all.end());
        return all;
    }

    // Whether the occupied backpack slots come first, with all three strings empty after them.
    bool BackpackPacked() {
        bool freeSeen = false;
        for (int i = 0; i < kBackpackSlots; ++i) {
            const bool free = s.inventoryTrueName(i).empty();
            if (free && (!s.inventoryName(i).empty() || !s.inventoryCode(i).empty())) return false;
            if (!free && freeSeen) return false;
            freeSeen = freeSeen || free;
        }
        return true;
    }

    // The next RND without drawing it.
    float PeekRnd() {
        const uint32_t saved = rt.random.seed;
        const float r = PbRnd(rt);
        rt.random.seed = saved;
        return r;
    }

    static std::string Hint(const std::string& text) { return std::string(55, ' ') + text; }
};

}  // namespace kestran::game::testing
