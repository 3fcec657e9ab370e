#include "game/town/companions.h"

#include <array>

#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

constexpr std::array<Companion, kCompanionCount> kCompanions{{
    {"( 0 )聖騎士レイモン"_sj, "レイモン"_sj, "「では、迷宮の入り口で待っているぞ。」"_sj, "「では、行こう。」"_sj,
     "「よければまた誘ってくれ。」"_sj},
    {"( 1 )双刀剣士ザーン"_sj, "ザーン"_sj, "「迷宮の入り口で待ってるぜ。」"_sj, "「んじゃ、気合入れていこうぜ。」"_sj,
     "「んじゃまたな。」"_sj},
    {"( 2 )お子様盗賊ミリィス"_sj, "ミリィス"_sj, "「じゃあ、迷宮の入り口で待ってるからね！」"_sj,
     "「がんばろーね！」"_sj, "「また誘ってね。約束だよ。」"_sj},
    {"( 3 )氷の魔術師フィーナ"_sj, "フィーナ"_sj, "「・・・・・・・・・・。」"_sj, "「・・・・・・・・・・。」"_sj,
     "「・・・・・・・・・・。」"_sj},
    {"( 4 )神官戦士シンシア"_sj, "シンシア"_sj, "「それでは、迷宮の入り口でお待ちしております」"_sj,
     "「それでは、気をつけて参りましょう。」"_sj, "「よろしければまたお誘い下さい。」"_sj},
}};

}  // namespace

std::span<const Companion, kCompanionCount> Companions() {
    return kCompanions;
}

const Companion* CompanionByName(std::string_view name) {
    for (const Companion& c : kCompanions) {
        if (c.name.view() == name) return &c;
    }
    return nullptr;
}

const Companion* CompanionByFirstCharacter(std::string_view name) {
    const PbString first = PbLeftChars(name, 1);
    for (const Companion& c : kCompanions) {
        if (PbLeftChars(c.name.view(), 1) == first) return &c;
    }
    return nullptr;
}

}  // namespace kestran::game
