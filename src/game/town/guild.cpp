#include "game/town/guild.h"

#include <array>
#include <span>

#include "game/game_screen.h"
#include "game/hero_slots.h"
#include "game/state/start_up.h"
#include "runtime/values/number_text.h"
#include "runtime/values/numbers.h"

namespace kestran::game {
namespace {

struct Offer {
    int requirement;
    int price;
    int cost;  // points one use costs
};

constexpr std::array<Offer, 5> kWarriorOffers{
    {{30, 500, 1}, {35, 1000, 5}, {45, 2000, 12}, {60, 4000, 8}, {80, 8000, 20}}};
constexpr std::array<Offer, 5> kThiefOffers{
    {{30, 500, 5}, {35, 1000, 10}, {45, 2000, 16}, {60, 4000, 7}, {80, 8000, 25}}};
constexpr std::array<Offer, 10> kMageOffers{{{30, 500, 7},
                                             {35, 1000, 12},
                                             {40, 1500, 8},
                                             {45, 2000, 9},
                                             {50, 3000, 11},
                                             {55, 4000, 15},
                                             {60, 5500, 17},
                                             {70, 7000, 21},
                                             {80, 9000, 15},
                                             {90, 12000, 28}}};
constexpr std::array<Offer, 10> kPriestOffers{{{30, 500, 10},
                                               {35, 1000, 3},
                                               {40, 1500, 5},
                                               {45, 2000, 12},
                                               {50, 3000, 5},
                                               {55, 4000, 18},
                                               {60, 5500, 7},
                                               {70, 7000, 21},
                                               {80, 9000, 27},
                                               {90, 12000, 35}}};

struct ListTexts {
    std::string_view heading;
    std::string_view prompt;
    std::string_view attributeTooLow;
    std::string_view goldTooLow;
    std::string_view confirm;
    std::string_view alreadyLearned;
    std::string_view learned;
};

struct ListInfo {
    int firstIndex;
    std::span<const Offer> offers;
    HeroStat attribute;
    std::string_view label;
    std::string_view pointsLabel;
    PbArray<PbString> GameState::*learnedList;
    ListTexts texts;
};

constexpr auto kSkillPrompt = "修得したい技能を数字キーで選んでください"_sj;
constexpr auto kSpellPrompt = "習得したい呪文を数字キーで選んでください"_sj;
constexpr auto kSkillGoldTooLow = "を修得するだけのお金がありません"_sj;
constexpr auto kSpellGoldTooLow = "を習得するだけのお金がありません"_sj;
constexpr auto kSkillConfirm = "を修得しますか？(Y/N)"_sj;
constexpr auto kSpellConfirm = "を習得しますか？(Y/N)"_sj;
constexpr auto kSkillAlready = "はすでに修得しています"_sj;
constexpr auto kSpellAlready = "はすでに習得しています"_sj;
constexpr auto kSkillLearned = "を修得しました！"_sj;
constexpr auto kSpellLearned = "を習得しました！"_sj;

constexpr auto kWarriorHeading = "戦士技能を修得します"_sj;
constexpr auto kThiefHeading = "盗賊技能を修得します"_sj;
constexpr auto kMageHeading = "魔術師呪文を習得します"_sj;
constexpr auto kPriestHeading = "神術師呪文を習得します"_sj;
constexpr auto kNoStrength = "を修得するだけの筋力がありません"_sj;
constexpr auto kNoDexterity = "を修得するだけの器用度がありません"_sj;
constexpr auto kNoIntelligence = "を習得するだけの知力がありません"_sj;
constexpr auto kNoPiety = "を習得するだけの信仰心がありません"_sj;

const ListInfo& Info(GuildList list) {
    static const std::array<ListInfo, 4> kLists{{
        {0,
         kWarriorOffers,
         kStrength,
         "ST",
         "TP=",
         &GameState::learnedSkills,
         {kWarriorHeading, kSkillPrompt, kNoStrength, kSkillGoldTooLow, kSkillConfirm, kSkillAlready, kSkillLearned}},
        {5,
         kThiefOffers,
         kDexterity,
         "DEX",
         "TP=",
         &GameState::learnedSkills,
         {kThiefHeading, kSkillPrompt, kNoDexterity, kSkillGoldTooLow, kSkillConfirm, kSkillAlready, kSkillLearned}},
        {10,
         kMageOffers,
         kIntelligence,
         "IN",
         "MP=",
         &GameState::learnedMageSpells,
         {kMageHeading, kSpellPrompt, kNoIntelligence, kSpellGoldTooLow, kSpellConfirm, kSpellAlready, kSpellLearned}},
        {20,
         kPriestOffers,
         kPiety,
         "PI",
         "MP=",
         &GameState::learnedPriestSpells,
         {kPriestHeading, kSpellPrompt, kNoPiety, kSpellGoldTooLow, kSpellConfirm, kSpellAlready, kSpellLearned}},
    }};
    return kLists[static_cast<std::size_t>(list)];
}

PbString Using(std::string_view picture, double v) {
    const double items[] = {v};
    return PbFormatUsing(picture, items);
}

// "ST=30   TP= 1      500 G": requirement, cost per use right-aligned in two columns, price in
// nine.
PbString InformationLine(const ListInfo& info, const Offer& offer) {
    return PbString(info.label) + "=" + Using("##", offer.requirement) + "   " + PbString(info.pointsLabel) +
           Using("##", offer.cost) + Using("#########", offer.price) + " G";
}

void DrawList(Game& g, const ListInfo& info) {
    GameState& s = g.s;
    ClearScreen(g);
    PrintAt(g, 1, 1, {info.texts.heading});
    PrintAt(g, 1, 2, {info.texts.prompt});
    for (std::size_t k = 0; k < info.offers.size(); ++k) {
        const double row = double(k) + 5;
        PrintAt(g, 15, row, {"(", float(k), ")", s.abilityNames(info.firstIndex + double(k))});
        PrintAt(g, 35, row, {InformationLine(info, info.offers[k])});
    }
    PrintChoices(g, 22, {"やっぱりやめる(N)"_sj});
    PrintAt(g, 5, 21, {"所持金　"_sj, s.gold, "G"});
}

// The digit of an entry of the list, or -1 for "N".
int ChooseEntry(Game& g, const ListInfo& info) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'N')) return -1;
        if (key.size() == 1 && key[0] >= '0' && key[0] - '0' < int(info.offers.size())) return key[0] - '0';
    }
}

void Refuse(Game& g, const PbString& name, std::string_view why) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {name, why});
    PrintAt(g, 1, 2, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
}

// The first free entry of a learned list, or -1.
int FreeEntry(PbArray<PbString>& learned) {
    for (int i = 0; i < kLearnedSlots; ++i) {
        if (learned(i).empty()) return i;
    }
    return -1;
}

bool AlreadyLearned(PbArray<PbString>& learned, const PbString& name) {
    for (int i = 0; i < kLearnedSlots; ++i) {
        if (learned(i) == name) return true;
    }
    return false;
}

// One attempt to learn the entry `digit`: true when it was learned.
bool TryToLearn(Game& g, const ListInfo& info, int digit) {
    GameState& s = g.s;
    const PbString name = s.abilityNames(info.firstIndex + digit);
    if (s.requiredStat > s.heroStats(info.attribute)) {
        Refuse(g, name, info.texts.attributeTooLow);
        return false;
    }
    if (s.price > s.gold) {
        Refuse(g, name, info.texts.goldTooLow);
        return false;
    }
    ClearScreen(g);
    PrintAt(g, 1, 1, {name, info.texts.confirm});
    if (ReadYesNo(g) == Answer::No) return false;
    PbArray<PbString>& learned = s.*info.learnedList;
    if (AlreadyLearned(learned, name)) {
        PrintAt(g, 1, 3, {name, info.texts.alreadyLearned});
        PrintAt(g, 1, 4, {"何かキーを押して下さい"_sj});
        WaitForKey(g);
        return false;
    }
    // Each list has at most ten abilities, so only a list filled by a hand-edited save file has
    // no room; nothing is sold then.
    const int free = FreeEntry(learned);
    if (free < 0) return false;
    learned(free) = name;
    s.gold = PbStore(double(s.gold) - s.price);
    PrintAt(g, 1, 3, {name, info.texts.learned});
    PrintAt(g, 1, 4, {"何かキーを押して下さい"_sj});
    WaitForKey(g);
    return true;
}

void DrawGuildMenu(Game& g) {
    ClearScreen(g);
    PrintAt(g, 1, 1, {"ここは冒険者ギルドです"_sj});
    PrintAt(g, 1, 2, {"お金を払って技能や魔法を修得することができます"_sj});
    PrintChoices(g, 18,
                 {"戦士技能を修得する(F)"_sj, "盗賊技能を修得する(T)"_sj, "魔術師呪文を習得する(M)"_sj,
                  "神術師呪文を習得する(P)"_sj, "冒険者ギルドを出る(E)"_sj});
}

// The list a menu key opens; false for "E".
bool ChooseList(Game& g, GuildList& list) {
    for (;;) {
        const PbString key = ReadKey(g);
        if (IsKey(key, 'F'))
            list = GuildList::Warrior;
        else if (IsKey(key, 'T'))
            list = GuildList::Thief;
        else if (IsKey(key, 'M'))
            list = GuildList::Mage;
        else if (IsKey(key, 'P'))
            list = GuildList::Priest;
        else if (IsKey(key, 'E'))
            return false;
        else
            continue;
        return true;
    }
}

}  // namespace

GuildNext LearnFromList(Game& g, GuildList list) {
    const ListInfo& info = Info(list);
    for (;;) {
        DrawList(g, info);
        const int digit = ChooseEntry(g, info);
        if (digit < 0) return GuildNext::Menu;
        const Offer& offer = info.offers[static_cast<std::size_t>(digit)];
        g.s.price = float(offer.price);
        g.s.requiredStat = float(offer.requirement);
        if (TryToLearn(g, info, digit)) return GuildNext::Reenter;
    }
}

Scene GuildMenu(Game& g) {
    for (;;) {
        DrawGuildMenu(g);
        GuildList list;
        if (!ChooseList(g, list)) return Scene::Town;
        if (LearnFromList(g, list) == GuildNext::Reenter) LoadAbilityNames(g.s);
    }
}

Scene Guild(Game& g) {
    LoadAbilityNames(g.s);
    return GuildMenu(g);
}

}  // namespace kestran::game
