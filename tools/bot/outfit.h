// What the bot knows of items: their types from the game's item table, the shop's shelves as the
// screen shows them, and what the hero wears and carries as the backpack screen shows it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "screen.h"

namespace kestran::bot {

// The type letter of the item whose true name is `utf8Name` ("W", "A", "S", "H", "G", "B", "P"),
// or 0 for a name the table does not hold (an unidentified "?" name among them).
char ItemTypeNamed(const std::string& utf8Name);
// The code string of the item whose true name is `utf8Name`, empty for a name the table lacks.
std::string ItemCodeNamed(const std::string& utf8Name);
// The equipment slot an item of this type goes to (a weapon: the right hand, a shield: the left).
int SlotForType(char type);

struct ShelfItem {
    int digit = 0;
    std::string name;
    long price = 0;
    long strength = 0;
};
std::vector<ShelfItem> ShelfItems(const Screen& s);

// The backpack screen ("…の持ち物です"): which of the six slots are worn, and the names carried.
struct Outfit {
    std::array<bool, 6> worn{};
    std::vector<std::string> carried;
};
std::optional<Outfit> ReadOutfit(const Screen& s);

}  // namespace kestran::bot
