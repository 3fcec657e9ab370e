// What the bot sees: the 24 rows of the screen as UTF-8, with the look-ups its choices are made of.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestran::bot {

class Screen {
public:
    static constexpr int kRows = 24;

    std::array<std::string, kRows> rows;

    bool Has(std::string_view text) const {
        for (const std::string& row : rows) {
            if (row.find(text) != std::string::npos) return true;
        }
        return false;
    }
    bool RowHas(int r, std::string_view text) const { return rows[std::size_t(r)].find(text) != std::string::npos; }
    // The first row holding `text`, or -1.
    int RowOf(std::string_view text) const {
        for (int r = 0; r < kRows; ++r) {
            if (RowHas(r, text)) return r;
        }
        return -1;
    }
    // The whole number printed after `label` on the first row that holds it.
    std::optional<long> NumberAfter(std::string_view label) const {
        const int r = RowOf(label);
        if (r < 0) return std::nullopt;
        const std::string& row = rows[std::size_t(r)];
        std::size_t i = row.find(label) + label.size();
        while (i < row.size() && row[i] == ' ')
            ++i;
        bool negative = false;
        if (i < row.size() && row[i] == '-') {
            negative = true;
            ++i;
        }
        if (i >= row.size() || row[i] < '0' || row[i] > '9') return std::nullopt;
        long value = 0;
        for (; i < row.size() && row[i] >= '0' && row[i] <= '9'; ++i)
            value = value * 10 + (row[i] - '0');
        return negative ? -value : value;
    }
    bool operator==(const Screen&) const = default;
};

}  // namespace kestran::bot
