// The item shop: shelves, buying, identifying and selling.
#include "game/town/item_shop.h"

#include "game/game_fixture.h"
#include "game/game_screen.h"

namespace kestran::game::testing {
namespace {

class ItemShopTest : public GameTest {
protected:
    void Carry(int slot, std::string_view trueName, std::string_view name, std::string_view code) {
        s.inventoryTrueName(slot) = trueName;
        s.inventoryName(slot) = name;
        s.inventoryCode(slot) = code;
    }
};

TEST_F(ItemShopTest, FifteenItemsMakeTwoShelvesAndTheShelfKeysStopAtTheEnds) {
    PreviousShelf(g);
    EXPECT_EQ(s.shelfStart, 0);
    NextShelf(g);
    EXPECT_EQ(s.shelfStart, 10);
    NextShelf(g);
    EXPECT_EQ(s.shelfStart, 10);
    ShowShelf(g);
    EXPECT_EQ(Row(5), std::string(15, ' ') + "( 0 )体力回復薬" + std::string(30, ' ') + "50 G");
    EXPECT_EQ(Row(9), std::string(15, ' ') + "( 4 )体力完治薬" + std::string(28, ' ') + "1000 G");
    PreviousShelf(g);
    EXPECT_EQ(s.shelfStart, 0);
}

TEST_F(ItemShopTest, TheShelfShowsStrengthButNotForPotions) {
    Keys("");
    EXPECT_FALSE(Play([&] { ItemShop(g); }));
    EXPECT_EQ(Row(1), " ここは道具屋です");
    EXPECT_EQ(Row(5),
              std::string(15, ' ') + "( 0 )ダガー" + std::string(19, ' ') + "ST  0" + std::string(10, ' ') + "50 G");
    EXPECT_EQ(Row(8),
              std::string(15, ' ') + "( 3 )メイス" + std::string(19, ' ') + "ST 17" + std::string(9, ' ') + "100 G");
    s.shelfStart = 10;
    ClearScreen(g);
    ShowShelf(g);
    EXPECT_EQ(Row(6).find("ST"), std::string::npos);
}

TEST_F(ItemShopTest, AHeavyItemIsSoldAfterTheWarningWithoutASecondQuestion) {
    s.gold = 100;
    s.heroStats(0) = 16;
    Keys("Yx");
    ASSERT_TRUE(Play([&] { BuyItem(g, "3"); }));  // メイス, strength 17
    EXPECT_EQ(s.gold, 0);
    EXPECT_EQ(s.inventoryName(0), "メイス"_sj.str());
    EXPECT_EQ(s.inventoryCode(0), "W120117000100");
    EXPECT_EQ(Row(1), " メイスを購入しました");
    s.heroStats(0) = 17;
    s.gold = 100;
    Keys("");
    EXPECT_FALSE(Play([&] { BuyItem(g, "3"); }));
    EXPECT_EQ(Row(1), " メイスを購入します");
}

TEST_F(ItemShopTest, ALetterBuysTheFirstItemOfTheShelfAndADigitPastTheEndNothing) {
    s.gold = 1000;
    s.shelfStart = 10;
    EXPECT_FALSE(Play([&] { BuyItem(g, "q"); }));
    EXPECT_EQ(Row(1), " 体力回復薬を購入します");
    EXPECT_TRUE(Play([&] { BuyItem(g, "7"); }));
    EXPECT_EQ(s.gold, 1000);
}

TEST_F(ItemShopTest, PoorOrFullTheShopTakesNoGold) {
    s.gold = 99;
    Keys("x");
    ASSERT_TRUE(Play([&] { BuyItem(g, "1"); }));
    EXPECT_EQ(Row(1), " お金が足りません");
    for (int i = 0; i < 10; ++i)
        Carry(i, "ダガー"_sj, "ダガー"_sj, "W050000000050");
    s.gold = 1000;
    s.heroStats(0) = 50;
    Keys("Yx");
    ASSERT_TRUE(Play([&] { BuyItem(g, "1"); }));
    EXPECT_EQ(Row(1), " 持ち物に余裕がありません");
    EXPECT_EQ(Row(2), " ショートソードを購入できませんでした");
    EXPECT_EQ(s.gold, 1000);
}

TEST_F(ItemShopTest, AnUnidentifiedItemSellsForOneGoldAndNeverReachesTheShelves) {
    Carry(0, "ヴェルドリンガ"_sj, "?ソード"_sj, "W855020090000");
    Carry(1, "ダガー"_sj, "ダガー"_sj, "W050000000050");
    s.gold = 0;
    Keys(
        "0Yx"
        "N");
    ASSERT_TRUE(Play([&] { SellItem(g); }));
    EXPECT_EQ(s.gold, 1);
    EXPECT_EQ(s.shopStock(99), "");
    EXPECT_EQ(s.inventoryName(0), "ダガー"_sj.str());  // packed
    EXPECT_EQ(s.inventoryName(1), "");
}

TEST_F(ItemShopTest, IdentifyingCostsAQuarterAndSellingItThenRestocksTheShelves) {
    Carry(0, "ヴェルドリンガ"_sj, "?ソード"_sj, "W855020090000");
    s.gold = 22500;
    Keys(
        "9"
        "0Y"
        "x"
        "0"
        "x"
        "N");  // a free slot, the item, then again: already identified
    ASSERT_TRUE(Play([&] { IdentifyItem(g); }));
    EXPECT_EQ(s.inventoryName(0), "ヴェルドリンガ"_sj.str());
    EXPECT_EQ(s.gold, 0);
    Keys("0Yx");
    ASSERT_TRUE(Play([&] { SellItem(g); }));  // the backpack is empty afterwards
    EXPECT_EQ(s.gold, 22500);
    EXPECT_EQ(s.shopStock(99), "1");
    EXPECT_EQ(Row(1), " ヴェルドリンガを売りました");
}

TEST_F(ItemShopTest, IdentifyingScreensAndTheFeeCheck) {
    Carry(0, "ダガー"_sj, "?ダガー"_sj, "W050000000050");
    s.gold = 11;
    Keys("0");
    EXPECT_FALSE(Play([&] { IdentifyItem(g); }));
    EXPECT_EQ(Row(1), " ?ダガーを鑑定するには 12 ゴールド必要です");
    Keys("0Yx");
    EXPECT_FALSE(Play([&] { IdentifyItem(g); }));
    EXPECT_EQ(Row(1), " どの持ち物を鑑定しますか？");  // refused for gold, the list again
    EXPECT_EQ(Row(5), std::string(25, ' ') + "( 0 )  ?ダガー");
    EXPECT_EQ(s.inventoryName(0), "?ダガー"_sj.str());
    s.inventoryName(0).clear();
    s.inventoryTrueName(0).clear();
    Keys("x");
    ASSERT_TRUE(Play([&] { IdentifyItem(g); }));
    EXPECT_EQ(Row(1), " 何も道具を持っていません");
}

}  // namespace
}  // namespace kestran::game::testing
