#include "bot/campaign.h"

#include <gtest/gtest.h>

#include <string>

#include "screens.h"

namespace kestran::bot {
namespace {

using test::ScreenOf;

const Screen kTown = ScreenOf({{1, " ここはオディシスの街です"}, {2, " どうしますか？"}});

Screen SaveDone() {
    return ScreenOf({{1, " セーブしました"}, {2, " 何かキーを押して下さい"}});
}

// The character sheet as the town's character menu shows it.
Screen Sheet(long strength, long hp, long maxHp, long gold) {
    return ScreenOf({{1, " キャラクター名　ケン"},
                     {3, "  筋力     " + std::to_string(strength) + "                 打撃修正     8"},
                     {9, "  精神力   10                 レベル　　　 3"},
                     {13, " ヒットポイント      " + std::to_string(hp) + " / " + std::to_string(maxHp)},
                     {17, "  所持金   " + std::to_string(gold) + " G             状態      通常"},
                     {18, "                                                       持ち物を見る(I)"},
                     {22, "                                                       戻る(R)"}});
}

TEST(BotCampaign, StartsANewGameAndLoadsOnlyAfterItsRestart) {
    CampaignPlayer p(1, CampaignPlan{});
    const Screen title = ScreenOf({{14, "                                 (N) NEW  GAME"}});
    EXPECT_EQ(p.Next(title), "N");
    EXPECT_FALSE(p.WantsRestart());
}

TEST(BotCampaign, RerollsALeftHandedOrWeakHero) {
    CampaignPlayer p(1, CampaignPlan{});
    auto roll = [](const char* arm, int strength) {
        return ScreenOf({{1, " キャラクター名  ケン"},
                         {3, "  筋力     " + std::to_string(strength)},
                         {8, "  耐久力   15"},
                         {11, std::string("  利き腕 　") + arm},
                         {13, " ボーナスポイント 8"},
                         {19, " これでよろしいですか？(Y/N)"}});
    };
    EXPECT_EQ(p.Next(roll("左", 18)), "N");
    EXPECT_EQ(p.Next(roll("右", 9)), "N");
    EXPECT_EQ(p.Next(roll("右", 16)), "Y");
}

TEST(BotCampaign, PutsCreationPointsIntoStrengthAndKeepsTheRestAsGold) {
    CampaignPlayer p(1, CampaignPlan{});
    const Screen distribution = ScreenOf(
        {{1, " ボーナスポイントを振り分けて下さい"}, {4, "  筋力     16   0"}, {12, " 残りのボーナスポイント 5"}});
    EXPECT_EQ(p.Next(distribution), "+");
    EXPECT_EQ(p.Next(distribution), "+");
    for (int attribute = 0; attribute < 7; ++attribute)
        EXPECT_EQ(p.Next(distribution), "{Enter}") << attribute;
}

TEST(BotCampaign, RestsWhenHurtAndThenLooksAtItsOutfit) {
    CampaignPlayer p(1, CampaignPlan{});
    EXPECT_EQ(p.Next(Sheet(18, 40, 90, 500)), "I");  // the backpack has not been seen yet
    EXPECT_EQ(p.Next(kTown), "I");                   // the inn first
    EXPECT_EQ(p.Next(ScreenOf({{1, " ここは宿屋です"}, {2, " 一晩 10ゴールドですがよろしいですか？(Y/N)"}})), "Y");
    EXPECT_EQ(p.Next(ScreenOf({{1, " 日記をつけますか？(Y/N)"}})), "N");
    EXPECT_EQ(p.Next(ScreenOf({{1, " ぐっすりと眠りましたので体の疲れが取れました"}})), " ");
    EXPECT_EQ(p.Next(kTown), "C");
}

TEST(BotCampaign, ANightItCannotPayIsRefused) {
    CampaignPlayer p(1, CampaignPlan{});
    p.Next(Sheet(18, 40, 90, 5));
    EXPECT_EQ(p.Next(ScreenOf({{1, " ここは宿屋です"}, {2, " 一晩 10ゴールドですがよろしいですか？(Y/N)"}})), "N");
}

// The tavern prints its answer under the question: the question must not be answered twice.
TEST(BotCampaign, AHiredCompanionIsNotInvitedAgain) {
    CampaignPlayer p(1, CampaignPlan{});
    EXPECT_EQ(p.Next(ScreenOf({{1, " ザーンを誘いますか？(Y/N)"}})), "Y");
    const Screen hired = ScreenOf({{1, " ザーンを誘いますか？(Y/N)"},
                                   {3, " ザーン「迷宮の入り口で待ってるぜ。」"},
                                   {5, " ザーンを誘いました"},
                                   {6, " 何かキーを押すと酒場を出ます"}});
    EXPECT_EQ(p.Next(hired), " ");
}

TEST(BotCampaign, BuysPotionsBeforeGear) {
    CampaignPlayer p(1, CampaignPlan{});
    p.Next(Sheet(18, 90, 90, 300));
    const Screen shelf = ScreenOf({{1, " ここは道具屋です"},
                                   {5, "               ( 0 )ブロードソード+1         ST 25        2000 G"},
                                   {6, "               ( 1 )体力回復薬                              50 G"},
                                   {21, "     所持金   300 G                                    持ち物を売る(S)"}});
    EXPECT_EQ(p.Next(shelf), "1");
}

TEST(BotCampaign, AfterItsKeysItWritesTheDiaryAndClosesTheProgramToLoadIt) {
    CampaignPlan plan;
    plan.restartAfterKeys = 3;
    CampaignPlayer p(1, plan);
    p.Next(Sheet(18, 90, 90, 300));
    p.Next(Sheet(18, 90, 90, 300));
    p.Next(Sheet(18, 90, 90, 300));
    EXPECT_EQ(p.Next(ScreenOf({{1, " 日記をつけますか？(Y/N)"}})), "Y");
    EXPECT_EQ(p.Next(SaveDone()), " ");
    EXPECT_EQ(p.Next(kTown), "{Close}");
    ASSERT_TRUE(p.WantsRestart());
    p.Restarted();
    EXPECT_EQ(p.Next(ScreenOf({{14, "                                 (N) NEW  GAME"}})), "L");
    EXPECT_EQ(p.Next(ScreenOf({{1, " キャラクターをロードします"}})), "C");
    EXPECT_EQ(p.Next(ScreenOf({{1, " キャラクターをロードします"}, {5, " Cドライブでよろしいですか？(Y/N)"}})), "Y");
    EXPECT_EQ(p.Next(ScreenOf({{1, " 以上のキャラクターを読み込みました"}})), " ");
    EXPECT_NE(p.Next(kTown), "{Close}");  // only once
}

TEST(BotCampaign, FleesWhenHurtWithoutPotionsButNeverFromTheMaster) {
    CampaignPlayer p(1, CampaignPlan{});
    auto turn = [](const char* monster) {
        return ScreenOf({{1, std::string(" ") + monster + "は 1 匹いる！"},
                         {2, " どうする？"},
                         {5, "                                                            HP     20/100"},
                         {17, "                                                       武器で攻撃する(A)"}});
    };
    EXPECT_EQ(p.Next(turn("くまさん")), "R");
    EXPECT_EQ(p.Next(turn("ダークキング")), "A");
    EXPECT_TRUE(p.FoughtMaster());
}

}  // namespace
}  // namespace kestran::bot
