// The chest menu, its three ways of opening, the trap, and the item found.
#include "dungeon_fixture.h"
#include "game/dungeon/cell_events.h"

namespace kestran::game::testing {
namespace {

class ChestTest : public DungeonTest {
protected:
    ChestTest() { StandAt(1, 8, 1, kNorth); }  // a chest of floor 1

    void FillBackpack() {
        for (int i = 0; i < 10; ++i) {
            s.inventoryTrueName(i) = "ダガー"_sj;
            s.inventoryName(i) = "ダガー"_sj;
            s.inventoryCode(i) = s.itemCode(0);
        }
    }
};

const std::string kPad(55, ' ');

TEST_F(ChestTest, TheMenuOffersTheSkillAndTheThiefOnlyWhenTheyAreThere) {
    Keys("");
    EXPECT_EQ(Run([&] { OpenChest(g); }), Ended::KeysRanOut);
    EXPECT_EQ(Row(1), " 宝箱を開けます");
    EXPECT_EQ(Row(19), "");
    EXPECT_EQ(Row(20), "");
    EXPECT_EQ(Row(21), kPad + "そのまま開ける(O)");
    EXPECT_EQ(Row(22), kPad + "やっぱりやめる(N)");
    s.companionName = "ミリィス"_sj;
    Keys("");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(20), kPad + "ミリィスにお願いする(M)");
    s.learnedSkills(3) = "解除"_sj;
    Keys("");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(19), kPad + "ミリィスにお願いする(M)");
    EXPECT_EQ(Row(20), kPad + "罠を解除する(C)");
    // Another companion is not offered, and neither is the skill not learned.
    s.companionName = "ザーン"_sj;
    s.learnedSkills(3).clear();
    Keys("MmCcn");
    EXPECT_EQ(Run([&] { OpenChest(g); }), Ended::Returned);
    EXPECT_EQ(Event(1, 8, 1), "T");
}

TEST_F(ChestTest, TheThiefOpensSafelyAndForFree) {
    s.companionName = "ミリィス"_sj;
    const RandomGenerator before = rt.random;
    const double item = int(NextRnd(1)[0] * 20);
    Keys("mNmxyx");
    EXPECT_EQ(Run([&] { OpenChest(g); }), Ended::KeysRanOut);
    EXPECT_EQ(DrawsSince(before), 1) << "only the item is drawn";
    EXPECT_EQ(Row(1), " ?" + Utf8(s.itemGenericName(item)) + "を見つけました");
    Keys("g");
    Run([&] { FindItem(g); });
    EXPECT_TRUE(RowStartsWith(1, " ?"));
    EXPECT_TRUE(Row(1).ends_with("を手に入れました"));
    EXPECT_EQ(s.heroStats(9), 20);
    EXPECT_EQ(Event(1, 8, 1), "1");
}

TEST_F(ChestTest, TheThiefSpeaksBeforeOpening) {
    s.companionName = "ミリィス"_sj;
    Keys("My");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(1), " ミリィスに宝箱を開けてもらいますか？(Y/N)");
    EXPECT_EQ(Row(3), " ミリィス「えへへっ！まかせてよ！」");
    EXPECT_EQ(Row(5), " ミリィスに宝箱を開けてもらいました");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
}

TEST_F(ChestTest, DisarmingCostsFivePointsAndNeedsThem) {
    s.learnedSkills(0) = "解除"_sj;
    s.heroStats(9) = 4;
    Keys("c");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(1), " 罠を解除するにはテクニックポイントが足りません");
    EXPECT_EQ(Row(1 + 1), " 何かキーを押して下さい");
    Keys("cx");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(1), " 宝箱を開けます") << "back at the chest menu";
    s.heroStats(9) = 5;
    Keys("CnCY");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(1), " 本当に罠を解除しますか？(Y/N)");
    EXPECT_EQ(Row(3), " 罠を外して宝箱を開けました！");
    EXPECT_EQ(Row(4), " 何かキーを押して下さい");
    EXPECT_EQ(s.heroStats(9), 0);
    EXPECT_EQ(Event(1, 8, 1), "T") << "the item is not drawn before the key";
}

TEST_F(ChestTest, DexterityBeatsTheTrapWhenItIsAboveRndTimes200) {
    s.heroStats(4) = 200;
    SeedSoThat([](double r) { return r > 0.999; });
    Keys("oY");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(s.heroStats(7), 50);
    EXPECT_TRUE(RowStartsWith(1, " ?"));
    s.heroStats(4) = 0;
    SeedSoThat([](double r) { return r < 0.001; });
    SetHeroCellEventForTest("T");
    Keys("oY");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(3), " 罠に引っかかった");
}

TEST_F(ChestTest, TheTrapThrowsOneDieMoreThanTheFloor) {
    StandAt(3, 13, 1, kNorth);
    s.heroStats(4) = 0;
    const auto rnd = NextRnd(6);
    double damage = 0;
    for (int i = 1; i <= 4; ++i)
        damage += int(rnd[i] * 10) + 1;
    Keys("OY");
    Run([&] { OpenChest(g); });
    EXPECT_GE(damage, 4);
    EXPECT_LE(damage, 40);
    EXPECT_EQ(s.damageTaken, damage);
    EXPECT_EQ(s.heroStats(7), 50 - damage);
    EXPECT_EQ(Row(4), " アキラは " + std::to_string(int(damage)) + " ポイントのダメージを受けた");
    EXPECT_EQ(Row(6), " 何かキーを押して下さい");
    EXPECT_EQ(Event(3, 13, 1), "T");
}

TEST_F(ChestTest, ATrapThatKillsGoesStraightToTheDeath) {
    s.heroStats(4) = 0;
    s.heroStats(7) = 2;
    Keys("OYx");
    EXPECT_EQ(Run([&] { OpenChest(g); }), Ended::ByGame);
    EXPECT_EQ(Row(1), " アキラは力尽き倒れた・・・");
    EXPECT_EQ(Event(1, 8, 1), "T");
}

TEST_F(ChestTest, FloorSixFoldsItsTopTwentyOntoTheBestItems) {
    StandAt(6, 1, 0, kEast);
    s.companionName = "ミリィス"_sj;
    SeedSoThat([](double r) { return r * 120 >= 100; });
    const int item = int(NextRnd(1)[0] * 120) - 20;
    Keys("mYxg");
    Run([&] { OpenChest(g); });
    EXPECT_GE(item, 80);
    EXPECT_EQ(s.inventoryTrueName(0), s.itemTrueName(item));
    EXPECT_EQ(s.inventoryName(0), "?" + s.itemGenericName(item));
    EXPECT_EQ(s.inventoryCode(0), s.itemCode(item));
}

TEST_F(ChestTest, AFullBackpackOffersASwapOrAWayBack) {
    FillBackpack();
    s.inventoryName(3) = "メイス"_sj;
    s.companionName = "ミリィス"_sj;
    const int item = int(NextRnd(1)[0] * 20);
    Keys("mYxgN");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(1), " ?" + Utf8(s.itemGenericName(item)) + "を見つけました") << "back to the item";
    Keys("g3");
    Run([&] { FindItem(g); });
    EXPECT_TRUE(RowStartsWith(1, " メイスを捨てて ?"));
    EXPECT_TRUE(Row(1).ends_with("を拾います"));
    EXPECT_EQ(Row(2), " よろしいですか？(Y/N)");
    rt.random.seed = 204;
    const int swapped = int(NextRnd(1)[0] * 20);
    Keys("g3n");
    Run([&] { FindItem(g); });
    EXPECT_EQ(Row(1), " 持ち物に余裕がありません");
    EXPECT_EQ(Row(2), " 何か持ち物を捨ててください(0-9)");
    EXPECT_EQ(Row(8), std::string(25, ' ') + "( 3 )メイス");
    EXPECT_EQ(Row(14), std::string(25, ' ') + "( 9 )ダガー");
    EXPECT_EQ(Row(22), kPad + "やっぱりやめる(N)");
    rt.random.seed = 204;
    Keys("g3n3yx");
    EXPECT_EQ(Run([&] { FindItem(g); }), Ended::Returned);
    EXPECT_EQ(s.inventoryName(3), "?" + s.itemGenericName(swapped));
    EXPECT_EQ(s.inventoryTrueName(3), s.itemTrueName(swapped));
    EXPECT_EQ(s.inventoryCode(3), s.itemCode(swapped));
    EXPECT_EQ(s.inventoryName(2), "ダガー"_sj.str());
}

TEST_F(ChestTest, ANonDigitNamesSlotZero) {
    FillBackpack();
    s.inventoryName(0) = "メイス"_sj;
    s.companionName = "ミリィス"_sj;
    Keys("mYxgqY");
    Run([&] { OpenChest(g); });
    EXPECT_TRUE(RowStartsWith(1, " ?"));
    EXPECT_EQ(s.inventoryName(1), "ダガー"_sj.str());
    EXPECT_NE(s.inventoryName(0), "メイス"_sj.str());
}

TEST_F(ChestTest, LeavingTheItemAsksOnceAndTakesAnyKeyButNForYes) {
    s.companionName = "ミリィス"_sj;
    const int item = int(NextRnd(1)[0] * 20);
    Keys("mYxdn");
    Run([&] { OpenChest(g); });
    EXPECT_EQ(Row(1), " ?" + Utf8(s.itemGenericName(item)) + "を見つけました");
    rt.random.seed = 204;
    Keys("dq");
    Run([&] { FindItem(g); });
    EXPECT_EQ(Row(1), " 本当に ?" + Utf8(s.itemGenericName(item)) + "を捨てますか？(Y/N)");
    EXPECT_EQ(Row(3), " ?" + Utf8(s.itemGenericName(item)) + "を捨てました");
    EXPECT_EQ(Row(4), " 何かキーを押して下さい");
    Keys("dqx");
    EXPECT_EQ(Run([&] { FindItem(g); }), Ended::Returned);
    EXPECT_TRUE(s.inventoryName(0).empty());
    EXPECT_EQ(Event(1, 8, 1), "1") << "the chest stays used up";
}

}  // namespace
}  // namespace kestran::game::testing
