#include "outfit.h"

#include <cstdlib>

#include "game/state/tables.h"
#include "runtime/values/sjis.h"

namespace kestran::bot {
namespace {

std::string Trimmed(std::string text) {
    const std::size_t end = text.find_last_not_of(' ');
    const std::size_t begin = text.find_first_not_of(' ');
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

}  // namespace

char ItemTypeNamed(const std::string& utf8Name) {
    const std::string code = ItemCodeNamed(utf8Name);
    return code.empty() ? char(0) : code[0];
}

std::string ItemCodeNamed(const std::string& utf8Name) {
    for (const game::ItemEntry& item : game::ItemTable()) {
        if (SjisToUtf8(item.trueName.view()) == utf8Name) return std::string(item.code);
    }
    return {};
}

int SlotForType(char type) {
    switch (type) {
        case 'H':
            return 0;
        case 'A':
            return 1;
        case 'W':
            return 2;
        case 'S':
            return 3;
        case 'G':
            return 4;
        case 'B':
            return 5;
        default:
            return -1;
    }
}

std::vector<ShelfItem> ShelfItems(const Screen& s) {
    std::vector<ShelfItem> items;
    for (int r = 5; r <= 14; ++r) {
        const std::string& row = s.rows[std::size_t(r)];
        const std::size_t open = row.find('(');
        const std::size_t close = row.find(')');
        const std::size_t g = row.rfind(" G");
        if (open == std::string::npos || close == std::string::npos || g == std::string::npos) continue;
        ShelfItem item;
        item.digit = std::atoi(row.c_str() + open + 1);
        const std::size_t st = row.find("ST ", close);
        // Without a strength figure the name ends before the price: one byte after its last character.
        const std::size_t last = row.find_last_not_of("0123456789 G");
        const std::size_t nameEnd = st != std::string::npos ? st : last == std::string::npos ? last : last + 1;
        item.name =
            Trimmed(row.substr(close + 1, nameEnd == std::string::npos ? std::string::npos : nameEnd - close - 1));
        if (st != std::string::npos) item.strength = std::atol(row.c_str() + st + 3);
        std::size_t p = g;
        while (p > 0 && row[p - 1] >= '0' && row[p - 1] <= '9')
            --p;
        item.price = std::atol(row.c_str() + p);
        items.push_back(item);
    }
    return items;
}

std::optional<Outfit> ReadOutfit(const Screen& s) {
    if (!(s.Has("の持ち物です") && s.Has("装備する(E)"))) return std::nullopt;
    Outfit o;
    for (int i = 0; i < 6; ++i)
        o.worn[std::size_t(i)] = !s.RowHas(4 + i, "装備していません");
    for (int r = 4; r <= 13; ++r) {
        const std::string& row = s.rows[std::size_t(r)];
        // The backpack stands from column 53: find the byte where that cell begins.
        std::size_t at = std::string::npos;
        int column = 0;
        for (std::size_t i = 0; i < row.size(); ++column) {
            if (column == 53) {
                at = i;
                break;
            }
            const unsigned char c = static_cast<unsigned char>(row[i]);
            const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            // A character of three UTF-8 bytes that is not half-width katakana takes two cells.
            const bool wide =
                len >= 3 &&
                !(c == 0xEF && i + 1 < row.size() &&
                  (static_cast<unsigned char>(row[i + 1]) == 0xBD || static_cast<unsigned char>(row[i + 1]) == 0xBE));
            if (wide) ++column;
            i += len;
        }
        if (at == std::string::npos) continue;
        const std::string name = Trimmed(row.substr(at));
        if (!name.empty() && name != "何もありません") o.carried.push_back(name);
    }
    return o;
}

}  // namespace kestran::bot
