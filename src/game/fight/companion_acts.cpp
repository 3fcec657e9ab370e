#include "game/fight/fight_internal.h"
#include "game/hero_slots.h"
#include "game/notice.h"
#include "runtime/values/numbers.h"

namespace kestran::game::fight {
namespace {

// A striking companion's cry and strength: it hits when RND × the target's power is below
// RND × (hit + heroLevel × 5), for INT(RND × 10 + damage + heroLevel × 2).
struct Striker {
    std::string_view name;
    std::string_view cry;
    double hit;
    double damage;
};

constexpr auto kZahn = "ザーン"_sj;
constexpr auto kMillis = "ミリィス"_sj;
constexpr auto kFina = "フィーナ"_sj;
constexpr auto kCynthia = "シンシア"_sj;
constexpr double kMillisBonus = 50;
constexpr double kRaymonHealsAt = 20;

constexpr auto kRaymonCry = "「はあっ！」"_sj;
constexpr auto kZahnCry = "「でりゃりゃあっ！」"_sj;
constexpr auto kMillisCry = "「えーいっ！やっつけちゃうぞーっ！」"_sj;
constexpr auto kCynthiaCry = "「えいっ！」"_sj;

// Every name but these four strikes as Raymon does.
Striker StrikerNamed(std::string_view name) {
    if (name == kZahn.view()) return {name, kZahnCry, 90, 30};
    if (name == kMillis.view()) return {name, kMillisCry, 90, 5};
    if (name == kCynthia.view()) return {name, kCynthiaCry, 50, 5};
    return {name, kRaymonCry, 70, 15};
}

void Strike(Game& g, const Striker& c) {
    GameState& s = g.s;
    const double target = s.lastMonster;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.companionName, c.cry});
    PrintAt(g, 1, 2, {s.companionName, "の攻撃！"_sj});
    const double companionSide = Rnd(g) * (c.hit + double(s.heroLevel) * 5);
    const double monsterSide = Rnd(g) * s.monsterPower(target);
    if (!(monsterSide < companionSide)) {
        PrintAt(g, 1, 4, {s.monsterName(target), "は"_sj, s.companionName, "の攻撃をひらりとかわした！"_sj});
        return PromptForKey(g, 6);
    }
    double damage = PbInt(Rnd(g) * 10 + c.damage + double(s.heroLevel) * 2);
    if (c.name == kMillis.view() && 1 > Rnd(g) * 5) damage += kMillisBonus;
    s.messageRow = 6;
    PrintDamageDealt(g, 4, target, damage);
    Wound(s.monsterHp(target), damage);
    if (s.monsterHp(target) < 1) {
        MonsterFalls(g, target);
        s.lastMonster = PbStore(s.lastMonster - 1.0);
    }
    PromptForKey(g, s.messageRow);
}

// A healer's spell: hit points raised by INT(RND × spread + least), at most to maxHp.
void Heal(Game& g, std::initializer_list<PrintItem> call, double spread, double least) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, call);
    PrintAt(g, 1, 2, {s.companionName, "は"_sj, s.heroName, "に回復の呪文を唱えた！"_sj});
    s.heroStats(kHitPoints) = PbStore(s.heroStats(kHitPoints) + PbInt(Rnd(g) * spread + least));
    if (s.maxHp <= s.heroStats(kHitPoints)) s.heroStats(kHitPoints) = s.maxHp;
    PrintAt(
        g, 1, 4,
        {s.heroName, "のヒットポイントは"_sj, s.heroStats(kHitPoints), "( 最大"_sj, s.maxHp, ")ポイントになった！"_sj});
    PromptForKey(g, 6);
}

void Blizzard(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.companionName, "「・・・・・・・・・・！」"_sj});
    PrintAt(g, 1, 2, {s.companionName, "は吹雪の呪文を唱えた！"_sj});
    PromptForKey(g, 4);
    for (double i = s.lastMonster; i >= 0; --i) {
        ClearScreen(g);
        PrintAt(g, 1, 1, {s.companionName, "の吹雪が"_sj, s.monsterName(i), "を襲う！"_sj});
        const double damage = PbInt(Rnd(g) * 20 + 20 + double(s.heroLevel) * 2);
        s.messageRow = 5;
        PrintDamageDealt(g, 3, i, damage);
        Wound(s.monsterHp(i), damage);
        if (s.monsterHp(i) < 1) MonsterFalls(g, i);
        PromptForKey(g, s.messageRow);
    }
    CloseUpGroup(s);
}

void StandIdle(Game& g) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {s.companionName, "「・・・・・・・・・・。」"_sj});
    PrintAt(g, 1, 2, {s.companionName, "はボーっとしている！"_sj});
    PromptForKey(g, 4);
}

}  // namespace

void CompanionActs(Game& g) {
    GameState& s = g.s;
    const std::string_view name = s.companionName;
    const double hitPoints = s.heroStats(kHitPoints);
    const double third = double(s.maxHp) / 3;
    if (name == kFina.view()) return third > hitPoints ? Blizzard(g) : StandIdle(g);
    if (name == kCynthia.view() && !(third < hitPoints)) {
        return Heal(g, {s.companionName, "「"_sj, s.heroName, "様！大丈夫ですか？」"_sj}, 20, 31);
    }
    const bool actsAsRaymon = name != kZahn.view() && name != kMillis.view() && name != kCynthia.view();
    if (actsAsRaymon && !(hitPoints > kRaymonHealsAt)) return Heal(g, {s.companionName, "「大丈夫か？」"_sj}, 10, 21);
    Strike(g, StrikerNamed(name));
}

}  // namespace kestran::game::fight
