// The five companions the tavern offers, with every line they speak.
#pragma once

#include <span>
#include <string_view>

namespace kestran::game {

// Every text is Shift-JIS.
struct Companion {
    std::string_view listText;      // the tavern's list entry, "( 0 )聖騎士レイモン"
    std::string_view name;          // what companionName holds
    std::string_view hiredLine;     // when invited in the tavern
    std::string_view entranceLine;  // at the labyrinth's entrance
    std::string_view partingLine;   // when parting in town
};

constexpr int kCompanionCount = 5;

// In the order of the tavern's keys "0" to "4".
std::span<const Companion, kCompanionCount> Companions();

// The companion whose name is `name` (the whole name), or null.
const Companion* CompanionByName(std::string_view name);

// The companion whose name begins with the same character as `name` (counted as Shift-JIS
// characters), or null: how the game picks the lines spoken when hiring and at the entrance.
const Companion* CompanionByFirstCharacter(std::string_view name);

}  // namespace kestran::game
