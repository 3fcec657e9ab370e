#include "bot/reading.h"

#include <gtest/gtest.h>

#include "bot/outfit.h"
#include "screens.h"

namespace kestran::bot {
namespace {

using test::ScreenOf;

TEST(BotReading, ListsEntriesOfBothFormsAndSkipsOtherParentheses) {
    const Screen s = ScreenOf({{1, " 使用する技能を数字キーで選んでください"},
                               {5, "                         ( 0 )  気合斬"},
                               {6, "                         ( 3 )滅破弾撃   "},
                               {7, " 移動（カーソルキー)"},
                               {8, " ( x )not a digit"}});
    const auto entries = ListedEntries(s);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].digit, 0);
    EXPECT_EQ(entries[0].name, "気合斬");
    EXPECT_EQ(entries[1].digit, 3);
    EXPECT_EQ(entries[1].name, "滅破弾撃");
    EXPECT_EQ(DigitOfEntry(s, "滅破弾撃"), 3);
    EXPECT_EQ(DigitOfEntry(s, "斬撃波"), -1);
}

TEST(BotReading, PointsOfThePanelNeedBothFigures) {
    long now = 0;
    long max = 0;
    const Screen panel = ScreenOf({{5, "                                                            HP     40/114"},
                                   {7, "                                                            TP      0/145"}});
    ASSERT_TRUE(HitPoints(panel, now, max));
    EXPECT_EQ(now, 40);
    EXPECT_EQ(max, 114);
    ASSERT_TRUE(PointsOf(panel, "TP  ", now, max));
    EXPECT_EQ(now, 0);
    EXPECT_EQ(max, 145);
    EXPECT_FALSE(HitPoints(ScreenOf({{5, " HP  without figures"}}), now, max));
    EXPECT_FALSE(PointsOf(panel, "MP  ", now, max));
}

// A shelf row without a strength figure (a potion) once lost the last byte of its name, so the
// bot never found the potions it meant to buy.
TEST(BotReading, ShelfNamesArePotionsWholeAndWeaponsWithTheirStrength) {
    const Screen shop = ScreenOf({{5, "               ( 0 )体力回復薬                              50 G"},
                                  {6, "               ( 1 )太陽の石                               100 G"},
                                  {7, "               ( 2 )ハンドアックス           ST 15         100 G"}});
    const auto items = ShelfItems(shop);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, "体力回復薬");
    EXPECT_EQ(items[0].price, 50);
    EXPECT_EQ(items[1].name, "太陽の石");
    EXPECT_EQ(items[1].digit, 1);
    EXPECT_EQ(items[2].name, "ハンドアックス");
    EXPECT_EQ(items[2].strength, 15);
    EXPECT_EQ(ItemTypeNamed(items[0].name), 'P');
    EXPECT_EQ(ItemTypeNamed(items[2].name), 'W');
}

TEST(BotReading, ItemCodesComeFromTheItemTable) {
    EXPECT_EQ(ItemCodeNamed("体力完治薬"), "P099900000001000");
    EXPECT_EQ(ItemCodeNamed("?ソード"), "");
    EXPECT_EQ(ItemTypeNamed("?ソード"), 0);
}

}  // namespace
}  // namespace kestran::bot
