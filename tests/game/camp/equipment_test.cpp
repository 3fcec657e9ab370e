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
