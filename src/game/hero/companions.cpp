#include "game/hero/companions.h"

#include <array>

#include "game/text_table.h"
#include "runtime/values/strings.h"

namespace kestran::game {
namespace {

constexpr std::array<Companion, kCompanionCount> kCompanions{{
    {kText<"( 0 )聖騎士レイモン">, kText<"レイモン">, kText<"「では、迷宮の入り口で待っているぞ。」">,
     kText<"「では、行こう。」">, kText<"「よければまた誘ってくれ。」">},
    {kText<"( 1 )双刀剣士ザーン">, kText<"ザーン">, kText<"「迷宮の入り口で待ってるぜ。」">,
     kText<"「んじゃ、気合入れていこうぜ。」">, kText<"「んじゃまたな。」">},
    {kText<"( 2 )お子様盗賊ミリィス">, kText<"ミリィス">, kText<"「じゃあ、迷宮の入り口で待ってるからね！」">,
     kText<"「がんばろーね！」">, kText<"「また誘ってね。約束だよ。」">},
    {kText<"( 3 )氷の魔術師フィーナ">, kText<"フィーナ">, kText<"「・・・・・・・・・・。」">,
     kText<"「・・・・・・・・・・。」">, kText<"「・・・・・・・・・・。」">},
    {kText<"( 4 )神官戦士シンシア">, kText<"シンシア">, kText<"「それでは、迷宮の入り口でお待ちしております」">,
     kText<"「それでは、気をつけて参りましょう。」">, kText<"「よろしければまたお誘い下さい。」">},
}};

}  // namespace

std::span<const Companion, kCompanionCount> Companions() {
    return kCompanions;
}

const Companion* CompanionByName(std::string_view name) {
    for (const Companion& c : kCompanions) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

const Companion* CompanionByFirstCharacter(std::string_view name) {
    const PbString first = PbLeftChars(name, 1);
    for (const Companion& c : kCompanions) {
        if (PbLeftChars(c.name, 1) == first) return &c;
    }
    return nullptr;
}

}  // namespace kestran::game
