#include "game/language/translate.h"

#include <vector>

#include "game/language/catalogue.h"
#include "game/language/fit_check.h"
#include "runtime/values/number_text.h"

namespace kestran::game {
namespace {

bool HasDoubleByte(std::string_view sjis) {
    for (char c : sjis) {
        if (IsSjisLeadByte(c)) return true;
    }
    return false;
}

// A number in a sentence: without the blanks PRINT sets around it.
PbString PlainNumber(float v) {
    return PbNumberText(v, SignStyle::MinusOnly);
}

bool Matches(const Catalogue::Pattern& pattern, std::initializer_list<PrintItem> items) {
    if (pattern.pieces.size() != items.size()) return false;
    auto piece = pattern.pieces.begin();
    for (const PrintItem& item : items) {
        const bool place = piece->empty();
        if (!place && (item.isNumber || item.text != *piece)) return false;
        ++piece;
    }
    return true;
}

PbString Fill(const Game& g, const Catalogue::Pattern& pattern, std::initializer_list<PrintItem> items) {
    std::vector<PbString> places;
    auto piece = pattern.pieces.begin();
    for (const PrintItem& item : items) {
        if ((piece++)->empty()) places.push_back(item.isNumber ? PlainNumber(item.number) : PbString(Tr(g, item.text)));
    }
    PbString out;
    const std::string& text = pattern.translation;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 2 < text.size() && text[i] == '{' && text[i + 2] == '}'
                                  ? std::size_t(text[i + 1] - '1')
                                  : places.size();
        if (n < places.size()) {
            out += places[n];
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string_view Tr(const Game& g, std::string_view sjis) {
    if (g.catalogue == nullptr || sjis.empty() || sjis == g.s.heroName) return sjis;
    if (const std::string* shown = g.catalogue->Find(sjis)) {
        if (g.fitCheck != nullptr) g.fitCheck->Shown(SjisToUtf8(sjis));
        return *shown;
    }
    if (g.fitCheck != nullptr && HasDoubleByte(sjis)) g.fitCheck->Untranslated(sjis);
    return sjis;
}

std::optional<PbString> TranslateMessage(const Game& g, std::initializer_list<PrintItem> items) {
    if (g.catalogue == nullptr || items.size() < 2) return std::nullopt;
    for (const Catalogue::Pattern& pattern : g.catalogue->patterns()) {
        if (!Matches(pattern, items)) continue;
        if (g.fitCheck != nullptr) g.fitCheck->Shown(pattern.id);
        return Fill(g, pattern, items);
    }
    return std::nullopt;
}

std::size_t JapaneseWidth(std::initializer_list<PrintItem> items) {
    std::size_t width = 0;
    for (const PrintItem& item : items)
        width += item.isNumber ? PbPrintedNumber(item.number).size() : item.text.size();
    return width;
}

}  // namespace kestran::game
