// Putting on and taking off: the strength and two-handed rules, the hands, swaps, and a backpack
// that never loses or copies an item.
#include "game/camp/equipment.h"

#include "game/camp/camp_fixture.h"

namespace kestran::game::testing {
namespace {

using EquipmentTest = CampTest;

TEST_F(EquipmentTest, StrengthMustReachTheItemsNeed) {
    Carry(0, kBroadSword);  // strength 25
    s.heroStats(kStrength) = 24;
    Keys("0x");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " ブロードソードは重くて装備できませんでした");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    EXPECT_EQ(Carried(0), "ブロードソード");
    EXPECT_EQ(Worn(kRightHand), "");

    s.heroStats(kStrength) = 25;
    Keys("0Rx");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " ブロードソードをどちらの手に装備しますか？(L/R)");
    EXPECT_EQ(Row(3), " ブロードソードを右手に装備しました");
    EXPECT_EQ(Row(4), " 何かキーを押して下さい");
    EXPECT_EQ(Worn(kRightHand), "ブロードソード");
    EXPECT_EQ(Carried(0), "");
}

TEST_F(EquipmentTest, ATwoHandedWeaponTakesTheDaggersPlaceInTheBackpack) {
    Carry(0, kCap);
    Carry(1, kGreatSword);
    Carry(2, kBoots);
    Wear(kLeftHand, kDagger);
    Keys("1lx");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " グレートソードをどちらの手に装備しますか？(L/R)");
    EXPECT_EQ(Row(3), " グレートソードを左手に装備しました");
    EXPECT_EQ(Worn(kLeftHand), "グレートソード");
    EXPECT_EQ(Carried(0), "キャップ");
    EXPECT_EQ(Carried(1), "ダガー");
    EXPECT_EQ(Carried(2), "レザーブーツ");
}

TEST_F(EquipmentTest, ANewItemInAnEmptyHandLeavesNoGapBehind) {
    Carry(0, kShortSword);
    Carry(1, kCap);
    Carry(2, kBoots);
    const auto before = Possessions();
    Keys("0{Up}9Lx");  // keys other than L and R are dropped at the question
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Worn(kLeftHand), "ショートソード");
    EXPECT_EQ(Carried(0), "キャップ");
    EXPECT_EQ(Carried(1), "レザーブーツ");
    EXPECT_EQ(Carried(2), "");
    EXPECT_TRUE(BackpackPacked());
    EXPECT_EQ(Possessions(), before);
}

TEST_F(EquipmentTest, AShieldIsRefusedBesideATwoHandedWeaponOnOneLine) {
    Carry(0, kSmallShield);
    Wear(kLeftHand, kGreatSword);
    Keys("0Rx");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " すでに両手用の武器を装備していますのでスモールシールドを装備できません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    EXPECT_EQ(Carried(0), "スモールシールド");
    EXPECT_EQ(Worn(kLeftHand), "グレートソード");
    EXPECT_EQ(Worn(kRightHand), "");
}

TEST_F(EquipmentTest, ATwoHandedWeaponIsRefusedWhileTheOtherHandHoldsAnything) {
    Carry(0, kGreatSword);
    for (const char* hand : {"L", "r"}) {
        const int other = std::string(hand) == "L" ? kRightHand : kLeftHand;
        Wear(other, kSmallShield);
        Keys(std::string("0") + hand + "x");
        ASSERT_TRUE(Play([&] { EquipFromBackpack(g); })) << hand;
        EXPECT_EQ(Row(1), " グレートソードは両手用の武器です") << hand;
        EXPECT_EQ(Row(2), " もう片方の手の装備をはずさなければ装備できません");
        EXPECT_EQ(Row(3), " 何かキーを押して下さい");
        EXPECT_EQ(Carried(0), "グレートソード");
        EXPECT_EQ(Worn(other), "スモールシールド");
        s.equipTrueName(other).clear();
        s.equipName(other).clear();
        s.equipCode(other).clear();
    }
}

TEST_F(EquipmentTest, ATwoHandedWeaponReplacesItselfInTheSameHand) {
    Carry(0, kGreatSword);
    Wear(kRightHand, kGreatSword);
    s.equipName(kRightHand) = "?ソード"_sj;
    const auto before = Possessions();
    Keys("0Rx");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(3), " グレートソードを右手に装備しました");
    EXPECT_EQ(s.inventoryName(0), "?ソード"_sj.str());
    EXPECT_EQ(Possessions(), before);
}

TEST_F(EquipmentTest, ArmourAndTheOtherPiecesGoToTheirSlots) {
    Carry(0, kLeatherArmour);
    Carry(1, kGloves);
    Carry(2, kCap);
    Carry(3, kBoots);
    Wear(1, kChainMail);
    const auto before = Possessions();
    Keys("0x");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " レザーアーマーを鎧として装備しました");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    EXPECT_EQ(Worn(1), "レザーアーマー");
    EXPECT_EQ(Carried(0), "チェインメイル");  // the old armour takes the new one's slot
    const std::pair<const char*, std::pair<int, const char*>> pieces[] = {
        {"1x", {4, " グローブを腕に装備しました"}},
        {"1x", {0, " キャップを頭に装備しました"}},
        {"1x", {5, " レザーブーツを脚に装備しました"}},
    };
    for (const auto& [keys, expected] : pieces) {
        Keys(keys);
        ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
        EXPECT_EQ(Row(1), expected.second);
        EXPECT_FALSE(Worn(expected.first).empty());
    }
    EXPECT_EQ(Carried(0), "チェインメイル");
    EXPECT_EQ(Carried(1), "");
    EXPECT_TRUE(BackpackPacked());
    EXPECT_EQ(Possessions(), before);
}

TEST_F(EquipmentTest, ALetterPicksSlotZeroAndPotionsOrFreeSlotsAreNotWorn) {
    Carry(0, kHealingPotion);
    Carry(1, kCap);
    Keys("q3R");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " 装備する持ち物を数字キーで選んでください");
    EXPECT_EQ(Row(4), Blanks(25) + "( 0 )体力回復薬");
    EXPECT_EQ(Row(5), Blanks(25) + "( 1 )キャップ");
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
    EXPECT_EQ(Worn(0), "");

    Carry(0, kCap);
    Carry(1, kHealingPotion);
    Keys("zx");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " キャップを頭に装備しました");
    EXPECT_EQ(Carried(0), "体力回復薬");
}

TEST_F(EquipmentTest, PotionsAloneAreNothingToWear) {
    Carry(0, kHealingPotion);
    Carry(1, kSunStone);
    Keys("x");
    ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    EXPECT_EQ(Row(1), " 装備するものがありません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
}

TEST_F(EquipmentTest, TakingOffFillsSlotNineAndIsRefusedWithTen) {
    for (int i = 0; i < 9; ++i)
        Carry(i, kHealingPotion);
    Wear(kRightHand, kDagger);
    Wear(1, kChainMail);
    Keys("2x");
    ASSERT_TRUE(Play([&] { UnequipToBackpack(g); }));
    EXPECT_EQ(Row(1), " ダガーをはずしました");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
    EXPECT_EQ(Carried(9), "ダガー");
    EXPECT_EQ(Worn(kRightHand), "");
    EXPECT_TRUE(s.equipCode(kRightHand).empty());

    Keys("x");
    ASSERT_TRUE(Play([&] { UnequipToBackpack(g); }));
    EXPECT_EQ(Row(1), " 持ち物に余裕がないので装備をはずせません");
    EXPECT_EQ(Worn(1), "チェインメイル");
}

TEST_F(EquipmentTest, TheChoiceOfTakingOffIgnoresFreeSlotsAndOtherKeys) {
    Wear(1, kChainMail);
    Keys("03x9r");
    ASSERT_TRUE(Play([&] { UnequipToBackpack(g); }));
    EXPECT_EQ(Row(1), " 装備をはずす個所を数字キーで選んでください");
    EXPECT_EQ(Row(4), Blanks(25) + "( 0 )頭" + Blanks(6) + "装備していません");
    EXPECT_EQ(Row(5), Blanks(25) + "( 1 )胴" + Blanks(6) + "チェインメイル");
    EXPECT_EQ(Row(7), Blanks(25) + "( 3 )左手" + Blanks(4) + "装備していません");
    EXPECT_EQ(Row(22), Hint("戻る(R)"));
    EXPECT_EQ(Worn(1), "チェインメイル");
    EXPECT_EQ(Carried(0), "");
}

TEST_F(EquipmentTest, NothingWornIsNothingToTakeOff) {
    Keys("x");
    ASSERT_TRUE(Play([&] { UnequipToBackpack(g); }));
    EXPECT_EQ(Row(1), " 装備しているものはありません");
    EXPECT_EQ(Row(2), " 何かキーを押して下さい");
}

TEST_F(EquipmentTest, PuttingOnAndTakingOffAgainKeepsEveryItem) {
    Carry(0, kGreatSword, false);
    Carry(1, kLeatherArmour);
    Carry(2, kDagger);
    Wear(kRightHand, kShortSword);
    Wear(1, kChainMail);
    const auto before = Possessions();
    Keys(
        "2Lx"
        "0Lx"
        "0Rx"
        "1x");
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(Play([&] { EquipFromBackpack(g); }));
    Keys("1x3x2x");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Play([&] { UnequipToBackpack(g); }));
    EXPECT_FALSE(KeysLeft());
    EXPECT_TRUE(BackpackPacked());
    EXPECT_EQ(Possessions(), before);
}

}  // namespace
}  // namespace kestran::game::testing
