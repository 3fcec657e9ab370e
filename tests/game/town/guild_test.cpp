// The adventurers' guild: the lists, the checks in their order, and where each answer leads.
#include "game/town/guild.h"

#include "game/game_fixture.h"
#include "game/state/start_up.h"

namespace kestran::game::testing {
namespace {

class GuildTest : public GameTest {
protected:
    GuildTest() { LoadAbilityNames(s); }
};

TEST_F(GuildTest, TheListsShowRequirementCostAndPrice) {
    // The name from column 15, the information line from column 35.
    const std::tuple<GuildList, int, std::string> rows[] = {
        {GuildList::Warrior, 5, "( 0 )気合斬" + std::string(9, ' ') + "ST=30   TP= 1      500 G"},
        {GuildList::Warrior, 9, "( 4 )爆滅連波斬" + std::string(5, ' ') + "ST=80   TP=20     8000 G"},
        {GuildList::Thief, 5, "( 0 )解除" + std::string(11, ' ') + "DEX=30   TP= 5      500 G"},
        {GuildList::Mage, 14, "( 9 )魔力爆裂" + std::string(7, ' ') + "IN=90   MP=28    12000 G"},
        {GuildList::Priest, 6, "( 1 )神の盾" + std::string(9, ' ') + "PI=35   MP= 3     1000 G"}};
    s.gold = 42;
    for (const auto& [list, row, text] : rows) {
        Keys("");
        EXPECT_FALSE(Play([&] { LearnFromList(g, list); }));
        EXPECT_EQ(Row(row), std::string(15, ' ') + text);
    }
    EXPECT_EQ(Row(1), " 神術師呪文を習得します");
    EXPECT_EQ(Row(2), " 習得したい呪文を数字キーで選んでください");
    EXPECT_EQ(Row(21), "     所持金　 42 G");
    EXPECT_EQ(Row(22), std::string(55, ' ') + "やっぱりやめる(N)");
}

TEST_F(GuildTest, ExactlyEnoughStrengthAndGoldLearnsAndGoesBackToTheMenu) {
    s.heroStats(0) = 30;
    s.gold = 500;
    Keys(
        "5"
        "0"
        "qY"
        "x");
    GuildNext next = GuildNext::Menu;
    ASSERT_TRUE(Play([&] { next = LearnFromList(g, GuildList::Warrior); }));
    EXPECT_EQ(next, GuildNext::Reenter);
    EXPECT_EQ(s.learnedSkills(0), "気合斬"_sj.str());
    EXPECT_EQ(s.gold, 0);
    EXPECT_EQ(Row(1), " 気合斬を修得しますか？(Y/N)");
    EXPECT_EQ(Row(3), " 気合斬を修得しました！");
}

TEST_F(GuildTest, TooLittleOfTheAttributeOrOfGoldSendsBackToTheList) {
    s.heroStats(0) = 29;
    s.gold = 5000;
    Keys("0");
    EXPECT_FALSE(Play([&] { LearnFromList(g, GuildList::Warrior); }));
    EXPECT_EQ(Row(1), " 気合斬を修得するだけの筋力がありません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    Keys("0x");
    EXPECT_FALSE(Play([&] { LearnFromList(g, GuildList::Warrior); }));
    EXPECT_EQ(Row(1), " 戦士技能を修得します");

    s.heroStats(4) = 80;
    s.gold = 7999;
    Keys("4");
    EXPECT_FALSE(Play([&] { LearnFromList(g, GuildList::Thief); }));
    EXPECT_EQ(Row(1), " 急所を狙うを修得するだけのお金がありません");
    EXPECT_EQ(s.learnedSkills(0), "");
    EXPECT_EQ(s.gold, 7999);
}

TEST_F(GuildTest, AnAbilityAlreadyLearnedIsRecognisedAfterTheConfirmationAndCostsNothing) {
    s.heroStats(1) = 90;
    s.gold = 12000;
    s.learnedMageSpells(0) = "魔法の矢"_sj;
    s.learnedMageSpells(1) = "魔力爆裂"_sj;
    Keys("9Y");
    EXPECT_FALSE(Play([&] { LearnFromList(g, GuildList::Mage); }));
    EXPECT_EQ(Row(1), " 魔力爆裂を習得しますか？(Y/N)");
    EXPECT_EQ(Row(3), " 魔力爆裂はすでに習得しています");
    EXPECT_EQ(s.gold, 12000);
    Keys(
        "x"
        "8Yx");
    GuildNext next = GuildNext::Menu;
    ASSERT_TRUE(Play([&] { next = LearnFromList(g, GuildList::Mage); }));
    EXPECT_EQ(next, GuildNext::Reenter);
    EXPECT_EQ(s.learnedMageSpells(2), "帰還"_sj.str());
    EXPECT_EQ(s.gold, 3000);
}

TEST_F(GuildTest, SkillsOfBothListsShareOneArrayAndSpellsHaveTheirOwn) {
    s.heroStats(0) = s.heroStats(4) = s.heroStats(2) = 99;
    s.gold = 100000;
    Keys("1Yx");
    ASSERT_TRUE(Play([&] { LearnFromList(g, GuildList::Warrior); }));
    Keys("3Yx");
    ASSERT_TRUE(Play([&] { LearnFromList(g, GuildList::Thief); }));
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { LearnFromList(g, GuildList::Priest); }));
    EXPECT_EQ(s.learnedSkills(0), "斬撃波"_sj.str());
    EXPECT_EQ(s.learnedSkills(1), "鑑定"_sj.str());
    EXPECT_EQ(s.learnedPriestSpells(0), "軽傷を癒す"_sj.str());
    EXPECT_EQ(s.learnedMageSpells(0), "");
    EXPECT_EQ(s.gold, 100000 - 1000 - 4000 - 500);
}

TEST_F(GuildTest, DigitsBeyondAListAndOtherKeysAreIgnoredAndNLeaves) {
    s.heroStats(0) = 99;
    s.gold = 100000;
    Keys("56789xN");
    GuildNext next = GuildNext::Reenter;
    ASSERT_TRUE(Play([&] { next = LearnFromList(g, GuildList::Warrior); }));
    EXPECT_EQ(next, GuildNext::Menu);
    EXPECT_EQ(s.gold, 100000);
    Keys(
        "qfN"
        "e");
    Scene scene = Scene::Title;
    ASSERT_TRUE(Play([&] { scene = Guild(g); }));
    EXPECT_EQ(scene, Scene::Town);
    EXPECT_EQ(Row(1), " ここは冒険者ギルドです");
}

}  // namespace
}  // namespace kestran::game::testing
