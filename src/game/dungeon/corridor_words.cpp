#include "game/dungeon/corridor_words.h"

#include <array>
#include <initializer_list>

#include "game/language/translate.h"
#include "runtime/values/sjis_literal.h"

namespace kestran::game {
namespace {

// One sentence, made of its pieces; in another language the translation of the whole sentence,
// a blank apart from the one before.
void Append(const Game& g, PbString& words, std::initializer_list<PrintItem> parts) {
    if (g.catalogue == nullptr) {
        for (const PrintItem& part : parts)
            words += part.text;
        return;
    }
    if (!words.empty()) words += ' ';
    if (const auto sentence = TranslateMessage(g, parts)) {
        words += *sentence;
        return;
    }
    for (const PrintItem& part : parts)
        words += Tr(g, part.text);
}

std::string_view FacingWord(double facing) {
    // By facing: 1 west, 2 north, 3 east, 4 south.
    const std::array<std::string_view, 4> facings{"西"_sj.view(), "北"_sj.view(), "東"_sj.view(), "南"_sj.view()};
    for (size_t f = 0; f < facings.size(); ++f) {
        if (facing == double(f + 1)) return facings[f];
    }
    return {};
}

std::string_view SideWord(Side side) {
    if (side == Side::Wall) return "壁"_sj;
    if (side == Side::Opening) return "横道"_sj;
    return "通路"_sj;
}

std::string_view AheadSentence(const CorridorView& view) {
    if (view.nearFront) return "前は壁。"_sj;
    return view.farFront ? "前は1歩先で壁。"_sj.view() : "前は2歩以上続く。"_sj.view();
}

// What the hero sees on the own cell, by event character; empty for a plain cell.
std::string_view CellThing(std::string_view event) {
    struct Thing {
        char event;
        std::string_view words;
    };
    const std::array<Thing, 11> things{{
        {'U', "上り階段"_sj},
        {'D', "下り階段"_sj},
        {'T', "宝箱"_sj},
        {'E', "エレベーター"_sj},
        {'I', "泉"_sj},
        {'A', "看板「休息所」"_sj},
        {'B', "看板「エレベータールーム」"_sj},
        {'C', "看板「危険！魔物多発地帯！」"_sj},
        {'F', "看板「ここから未踏地帯！」"_sj},
        {'M', "看板「魔王の間」"_sj},
        {'K', "魔王"_sj},
    }};
    if (event.size() != 1) return {};
    for (const Thing& thing : things) {
        if (thing.event == event[0]) return thing.words;
    }
    return {};
}

// "左は壁、右は横道。", or "両側は壁。" when both sides are alike; one step further on "1歩先は左が
// 壁、右が横道。" and "1歩先は両側が壁。".
void AppendSides(const Game& g, PbString& words, Side left, Side right, bool further) {
    if (left == right) {
        Append(g, words, {further ? "1歩先は両側が"_sj.view() : "両側は"_sj.view(), SideWord(left), "。"_sj});
        return;
    }
    Append(g, words,
           {further ? "1歩先は左が"_sj.view() : "左は"_sj.view(), SideWord(left),
            further ? "、右が"_sj.view() : "、右は"_sj.view(), SideWord(right), "。"_sj});
}

}  // namespace

PbString DescribeView(const Game& g, const CorridorView& view, double facing, std::string_view cellEvent) {
    PbString words;
    if (const std::string_view f = FacingWord(facing); !f.empty()) Append(g, words, {f, "向き。"_sj});
    Append(g, words, {AheadSentence(view)});
    AppendSides(g, words, view.nearLeft, view.nearRight, false);
    if (!view.nearFront) AppendSides(g, words, view.farLeft, view.farRight, true);
    if (const std::string_view thing = CellThing(cellEvent); !thing.empty())
        Append(g, words, {"ここに"_sj, thing, "。"_sj});
    return words;
}

}  // namespace kestran::game
