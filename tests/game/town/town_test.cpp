// The town's menu, the inn, the way back from the labyrinth and the tavern.
#include "game/town/town.h"

#include "game/game_fixture.h"
#include "game/town/tavern.h"

namespace kestran::game::testing {
namespace {

using TownScreensTest = GameTest;

TEST_F(TownScreensTest, TheMenuTakesItsLettersInEitherCaseAndIgnoresTheRest) {
    const std::pair<const char*, Scene> cases[] = {
        {"xI", Scene::Inn}, {"g", Scene::Guild}, {"{Up}T", Scene::Tavern}, {"9i", Scene::Inn}};
    for (const auto& [keys, scene] : cases) {
        Keys(keys);
        Scene next = Scene::Title;
        ASSERT_TRUE(Play([&] { next = TownMenu(g); })) << keys;
        EXPECT_EQ(next, scene) << keys;
    }
    s.shelfStart = 10;
    Keys("s");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = TownMenu(g); }));
    EXPECT_EQ(next, Scene::ItemShop);
    EXPECT_EQ(s.shelfStart, 0);
    EXPECT_EQ(Row(1), " ここはオディシスの街です");
    EXPECT_EQ(Row(2), " どうしますか？");
    EXPECT_EQ(Row(22), std::string(55, ' ') + "キャラクターを見る(C)");
}

TEST_F(TownScreensTest, TheLabyrinthAndTheCharacterMenuHaveTheirKeys) {
    for (const auto& [keys, scene] : {std::pair{"m", Scene::EnterLabyrinth}, std::pair{"C", Scene::CharacterMenu}}) {
        Keys(keys);
        Scene next = Scene::Title;
        ASSERT_TRUE(Play([&] { next = TownMenu(g); })) << keys;
        EXPECT_EQ(next, scene) << keys;
    }
}

TEST_F(TownScreensTest, AHeroInTheLabyrinthGoesStraightBackToIt) {
    EXPECT_EQ(EnterTown(g), Scene::TownMenu);
    s.dungeonFloor = 2;
    s.posX = 5;
    EXPECT_EQ(EnterTown(g), Scene::Labyrinth);
    EXPECT_EQ(s.posX, 5);
}

TEST_F(TownScreensTest, TheInnTakesTenGoldHealsAndCures) {
    s.gold = 10;
    s.maxHp = 50;
    s.maxMp = 20;
    s.maxTp = 30;
    s.heroStats(7) = 3;
    s.bodyState = "毒　病気"_sj;
    Keys("xYNx");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = Inn(g); }));
    EXPECT_EQ(next, Scene::Town);
    EXPECT_EQ(s.gold, 0);
    EXPECT_EQ(s.heroStats(7), 50);
    EXPECT_EQ(s.heroStats(8), 20);
    EXPECT_EQ(s.heroStats(9), 30);
    EXPECT_EQ(s.bodyState, "通常"_sj.str());
    EXPECT_EQ(Row(1), " ぐっすりと眠りましたので体の疲れが取れました");
}

TEST_F(TownScreensTest, TheInnRefusesNineGoldAndAsksAgain) {
    s.gold = 9;
    s.heroStats(7) = 3;
    Keys("Yx");
    EXPECT_FALSE(Play([&] { Inn(g); }));
    EXPECT_EQ(Row(1), " ここは宿屋です");
    EXPECT_EQ(Row(2), " 一晩 10ゴールドですがよろしいですか？(Y/N)");
    EXPECT_EQ(s.gold, 9);
    EXPECT_EQ(s.heroStats(7), 3);
    Keys("Y");
    EXPECT_FALSE(Play([&] { Inn(g); }));
    EXPECT_EQ(Row(1), " 宿に泊まるだけのお金がありません");
    Keys("n");
    EXPECT_TRUE(Play([&] { EXPECT_EQ(Inn(g), Scene::Town); }));
}

TEST_F(TownScreensTest, TheInnsDiarySavesTheRestedHero) {
    s.gold = 15;
    Keys("YYCYxx");
    ASSERT_TRUE(Play([&] { Inn(g); }));
    const std::string file = ReadBytes(DrivePath('C', "KSSAVE"));
    std::size_t line23 = 0;
    for (int i = 0; i < 22; ++i)
        line23 = file.find("\r\n", line23) + 2;
    EXPECT_EQ(file.substr(line23 + 42, 4), " 5  ");  // gold, the fourth zone
}

TEST_F(TownScreensTest, EachCompanionTakesLeaveWithItsOwnLine) {
    const std::pair<const char*, const char*> lines[] = {{"レイモン", "「よければまた誘ってくれ。」"},
                                                         {"ザーン", "「んじゃまたな。」"},
                                                         {"ミリィス", "「また誘ってね。約束だよ。」"},
                                                         {"フィーナ", "「・・・・・・・・・・。」"},
                                                         {"シンシア", "「よろしければまたお誘い下さい。」"}};
    for (const auto& [name, line] : lines) {
        std::string sjis;
        ASSERT_TRUE(Utf8ToSjis(name, sjis));
        s.companionName = sjis;
        s.reservedText = "kept?";
        Keys("x");
        ASSERT_TRUE(Play([&] { EXPECT_EQ(ReturnToTown(g), Scene::Town); }));
        EXPECT_EQ(Row(1), std::string(" ") + name + line);
        EXPECT_EQ(Row(3), " 街に戻ってきましたので仲間と別れました");
        EXPECT_EQ(s.companionName, "");
        EXPECT_EQ(s.reservedText, "");
    }
    Keys("x");
    EXPECT_EQ(ReturnToTown(g), Scene::Town);
    EXPECT_TRUE(KeysLeft());  // no companion: nothing shown, no key read
}

TEST_F(TownScreensTest, TheTavernHiresOnYesAndForgetsTheChoiceOnNo) {
    Keys(
        "x7"
        "1"
        "qN"
        "E");
    ASSERT_TRUE(Play([&] { EXPECT_EQ(Tavern(g), Scene::Town); }));
    EXPECT_EQ(s.companionName, "");

    Keys("3Yx");
    ASSERT_TRUE(Play([&] { EXPECT_EQ(Tavern(g), Scene::Town); }));
    EXPECT_EQ(s.companionName, "フィーナ"_sj.str());
    EXPECT_EQ(Row(3), " フィーナ「・・・・・・・・・・。」");
    EXPECT_EQ(Row(5), " フィーナを誘いました");

    Keys("x");
    ASSERT_TRUE(Play([&] { EXPECT_EQ(Tavern(g), Scene::Town); }));
    EXPECT_EQ(Row(1), " すでにフィーナを誘っています");
    EXPECT_EQ(s.companionName, "フィーナ"_sj.str());
}

TEST_F(TownScreensTest, TheTavernListsTheFiveCompanions) {
    Keys("");
    EXPECT_FALSE(Play([&] { Tavern(g); }));
    EXPECT_EQ(Row(8), std::string(25, ' ') + "( 0 )聖騎士レイモン");
    EXPECT_EQ(Row(12), std::string(25, ' ') + "( 4 )神官戦士シンシア");
    EXPECT_EQ(Row(22), std::string(55, ' ') + "酒場を出る(E)");
}

}  // namespace
}  // namespace kestran::game::testing
