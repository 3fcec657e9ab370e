// The game's constant catalogues and the start-up floor maps, kept as compile-time data. The
// start-up routines copy them into GameState; nothing else reads them.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "runtime/values/sjis_literal.h"

namespace kestran::game {

constexpr int kItemCount = 100;
constexpr int kMonsterCount = 31;
constexpr int kAbilityCount = 30;
constexpr int kFloorCount = 6;
constexpr int kFloorSize = 20;  // rows per floor and characters per row

namespace detail {
// Reached only during constant evaluation when a name does not fit its table slot; being
// non-constexpr, it makes the table ill-formed.
inline void TableTextTooLong() {}
}  // namespace detail

// One Shift-JIS name held inside its table entry, so that a whole table is a single constant
// and the conversion from the UTF-8 source happens at compile time.
struct TableText {
    static constexpr std::size_t kCapacity = 32;

    std::array<char, kCapacity> bytes{};
    std::size_t size = 0;

    template <std::size_t N>
    consteval TableText(const SjisLiteral<N>& text)  // NOLINT(google-explicit-constructor)
        : size(text.size) {
        if (text.size > kCapacity) detail::TableTextTooLong();
        for (std::size_t i = 0; i < text.size; ++i)
            bytes[i] = text.bytes[i];
    }

    constexpr std::string_view view() const { return {bytes.data(), size}; }
};

struct ItemEntry {
    TableText trueName;
    TableText genericName;
    std::string_view code;
};

struct MonsterEntry {
    TableText name;
    std::string_view code;
};

// One row y of one floor: its wall digits and its event characters at the start of a run.
struct MapRow {
    std::string_view walls;
    std::string_view events;
};

using FloorRows = std::array<MapRow, kFloorSize>;

std::span<const ItemEntry, kItemCount> ItemTable();
std::span<const MonsterEntry, kMonsterCount> MonsterTable();
std::span<const TableText, kAbilityCount> AbilityNameTable();
// Indexed by floor - 1, then by row.
std::span<const FloorRows, kFloorCount> StartFloorRows();

}  // namespace kestran::game
