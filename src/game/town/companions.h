// The five companions the tavern offers, with every line they speak.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "runtime/values/sjis_literal.h"

namespace kestran::game {

namespace detail {
// Reached only during constant evaluation when a line does not fit; being non-constexpr, it
// makes the table ill-formed.
inline void CompanionTextTooLong() {}
}  // namespace detail

// One Shift-JIS line held inside the table, converted from the UTF-8 source at compile time.
struct CompanionText {
    static constexpr std::size_t kCapacity = 64;

    std::array<char, kCapacity> bytes{};
    std::size_t size = 0;

    template <std::size_t N>
    consteval CompanionText(const SjisLiteral<N>& text)  // NOLINT(google-explicit-constructor)
        : size(text.size) {
        if (text.size > kCapacity) detail::CompanionTextTooLong();
        for (std::size_t i = 0; i < text.size; ++i)
            bytes[i] = text.bytes[i];
    }

    constexpr std::string_view view() const { return {bytes.data(), size}; }
};

struct Companion {
    CompanionText listText;      // the tavern's list entry, "( 0 )聖騎士レイモン"
    CompanionText name;          // what companionName holds
    CompanionText hiredLine;     // when invited in the tavern
    CompanionText entranceLine;  // at the labyrinth's entrance
    CompanionText partingLine;   // when parting in town
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
