// The save file's bytes, line by line, for a hero set up by hand and for a new hero of a fixed
// seed, and the same bytes read back.
#include <string>
#include <vector>

#include "game/game_fixture.h"
#include "game/hero/creation.h"
#include "game/saves/saving.h"
#include "game/saves/state_compare.h"
#include "game/state/tables.h"
#include "runtime/values/numbers.h"

namespace kestran::game::testing {
namespace {

std::string Blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

class SaveFileTest : public GameTest {
protected:
    // A hero in the middle of a game, set by hand.
    void MakeHero(GameState& h) {
        const float stats[] = {30, 12, 9, 15, 31, 14, 8, 40, 25, 60, 1250};
        for (int i = 0; i < 11; ++i)
            h.heroStats(i) = stats[i];
        h.heroName = "ALICE";
        h.damageBonus = 12;
        h.hitBonus = 12;
        h.evadeBonus = 11;
        h.physicalDefense = 7;
        h.magicDefense = -1;
        h.inventoryTrueName(0) = h.inventoryName(0) = "ダガー"_sj;
        h.inventoryCode(0) = "W050000000050";
        h.inventoryTrueName(1) = "ブロードソード"_sj;
        h.inventoryName(1) = "?ソード"_sj;
        h.inventoryCode(1) = "W200225000400";
        h.maxHp = 58;
        h.maxTp = 77;
        h.maxMp = 33;
        h.gold = 123456;
        h.dungeonFloor = 3;
        h.posX = 13;
        h.posY = 13;
        h.heroLevel = 7;
        h.facing = 2;
        h.stealthWalk = 1;
        h.equipTrueName(1) = h.equipName(1) = "レザーアーマー"_sj;
        h.equipCode(1) = "A03001500300";
        h.handedness = "左"_sj;
        h.companionName = "ミリィス"_sj;
        h.bodyState = "毒　病気"_sj;
        h.mapEvents(0, 1) = "11111111111111111111";  // the chest at column 8 opened
        h.learnedSkills(0) = "気合斬"_sj;
        h.learnedSkills(1) = "解除"_sj;
        h.learnedMageSpells(0) = "魔法の矢"_sj;
        h.shopStock(2) = "1";
    }

    // The file of MakeHero, written out by hand.
    static std::string HeroFile() {
        std::vector<std::string> lines = {" 30 ", " 12 ", " 9 ",  " 15 ", " 31 ",  " 14 ",
                                          " 8 ",  " 40 ", " 25 ", " 60 ", " 1250 "};
        // "ALICE," ends at column 6; each number but the last is padded to the next zone of 14.
        lines.push_back("ALICE," + std::string(" 12 ") + Blanks(4) + " 12 " + Blanks(10) + " 11 " + Blanks(10) + " 7 " +
                        Blanks(11) + "-1 ");
        lines.push_back("ダガー,ダガー,W050000000050"_sj);
        lines.push_back("ブロードソード,?ソード,W200225000400"_sj);
        for (int i = 2; i < 10; ++i)
            lines.push_back(",,");
        lines.push_back(" 58 " + Blanks(10) + " 77 " + Blanks(10) + " 33 " + Blanks(10) + " 123456 " + Blanks(6) +
                        " 3 " + Blanks(11) + " 13 " + Blanks(10) + " 13 " + Blanks(10) + " 7 " + Blanks(11) + " 2 " +
                        Blanks(11) + " 1 ");
        lines.push_back(",,");
        lines.push_back("レザーアーマー,レザーアーマー,A03001500300"_sj);
        for (int i = 2; i < 6; ++i)
            lines.push_back(",,");
        lines.push_back("左,ミリィス,,毒　病気"_sj);
        for (int f = 0; f < kFloorCount; ++f) {
            for (int y = 0; y < kFloorSize; ++y)
                lines.push_back(std::string(StartFloorRows()[f][y].events));
        }
        lines[30 + 1] = "11111111111111111111";
        lines.push_back("気合斬,魔法の矢,"_sj);
        lines.push_back("解除,,"_sj);
        for (int i = 2; i < 10; ++i)
            lines.push_back(",,");
        const std::vector<int> onSale = {0, 1, 2, 3, 5, 6, 8, 11, 13, 15, 18, 19, 37, 38, 39, 79};
        for (int i = 0; i < kItemCount; ++i)
            lines.push_back(std::find(onSale.begin(), onSale.end(), i) != onSale.end() ? "1" : "");
        std::string bytes;
        for (const auto& l : lines)
            bytes += l + "\r\n";
        return bytes + "\x1A";
    }
};

TEST_F(SaveFileTest, TheSaveFileHoldsTheLayoutLineByLine) {
    MakeHero(s);
    Keys("CYx");
    ASSERT_TRUE(Play([&] { SaveCharacter(g); }));
    const std::string file = ReadBytes(DrivePath('C', "KSSAVE"));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 260);
    EXPECT_EQ(file, HeroFile());
    EXPECT_EQ(s.saveFileName, "C:KSSAVE");
}

TEST_F(SaveFileTest, ALoadedSaveWritesTheSameFileAgain) {
    WriteBytes(DrivePath('C', "KSSAVE"), HeroFile());
    Keys("cYxx");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = LoadCharacter(g); }));
    EXPECT_EQ(next, Scene::Town);
    EXPECT_EQ(s.heroName, "ALICE");
    EXPECT_EQ(s.inventoryName(1), "?ソード"_sj.str());
    EXPECT_EQ(s.inventoryTrueName(2), "");
    EXPECT_EQ(s.magicDefense, -1);
    EXPECT_EQ(s.dungeonFloor, 3);
    EXPECT_EQ(s.bodyState, "毒　病気"_sj.str());
    EXPECT_EQ(s.reservedText, "");
    EXPECT_EQ(s.loadFileName, "c:KSSAVE");

    fs::remove(DrivePath('C', "KSSAVE"));
    Keys("CYx");
    ASSERT_TRUE(Play([&] { SaveCharacter(g); }));
    EXPECT_EQ(ReadBytes(DrivePath('C', "KSSAVE")), HeroFile());
}

TEST_F(SaveFileTest, ANewHeroOfAFixedSeedSavesTheLayoutComputedByHand) {
    PbRandomize(rt, 1);
    // Rolls of seed 1: 10 14 11 17 17 15 19 (sum 103) and 10 bonus points; two go to strength.
    Keys("TARO{Enter}Y++{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = CreateCharacter(g); }));
    EXPECT_EQ(next, Scene::Town);
    EXPECT_FALSE(KeysLeft());

    // Hit points 14 + 15 * 3 + 12 = 71, magic 14 + 11 + 19 * 3 = 82, technique 17 + 17 * 2 +
    // 19 * 2 = 89; 8 points left: 500 + 800 gold and 400 experience. Bonuses at level 1:
    // INT(12/3 + 2.5) = 6, INT(17/3 + 2.5) = 8, INT(34/4 + .5) = 9, INT(32/4 + .5) = 8,
    // INT(25/8 + 19/4 + .5) = 8.
    std::vector<std::string> lines = {" 12 ", " 14 ", " 11 ", " 17 ", " 17 ", " 15 ",
                                      " 19 ", " 71 ", " 82 ", " 89 ", " 400 "};
    lines.push_back("TARO, 6 " + Blanks(6) + " 8 " + Blanks(11) + " 9 " + Blanks(11) + " 8 " + Blanks(11) + " 8 ");
    for (int i = 0; i < 10; ++i)
        lines.push_back(",,");
    lines.push_back(" 71 " + Blanks(10) + " 89 " + Blanks(10) + " 82 " + Blanks(10) + " 1300 " + Blanks(8) + " 0 " +
                    Blanks(11) + " 0 " + Blanks(11) + " 0 " + Blanks(11) + " 1 " + Blanks(11) + " 0 " + Blanks(11) +
                    " 0 ");
    for (int i = 0; i < 6; ++i)
        lines.push_back(",,");
    lines.push_back("右,,,通常"_sj);
    for (int f = 0; f < kFloorCount; ++f) {
        for (int y = 0; y < kFloorSize; ++y)
            lines.push_back(std::string(StartFloorRows()[f][y].events));
    }
    for (int i = 0; i < 10; ++i)
        lines.push_back(",,");
    const std::vector<int> onSale = {0, 1, 3, 5, 6, 8, 11, 13, 15, 18, 19, 37, 38, 39, 79};
    for (int i = 0; i < kItemCount; ++i)
        lines.push_back(std::find(onSale.begin(), onSale.end(), i) != onSale.end() ? "1" : "");
    std::string expected;
    for (const auto& l : lines)
        expected += l + "\r\n";
    EXPECT_EQ(ReadBytes(DrivePath('C', "KSSAVE")), expected + "\x1A");
}

TEST_F(SaveFileTest, ANameWithBlanksAndDoubleByteCharactersComesBackByteForByte) {
    Keys("  勇者 ｶｲ ソ  {Enter}");
    EXPECT_FALSE(Play([&] { CreateCharacter(g); }));
    EXPECT_EQ(s.heroName, "勇者 ｶｲ ソ"_sj.str());
    s.heroLevel = 1;  // the creation was left at the name
    Keys("CYx");
    ASSERT_TRUE(Play([&] { SaveCharacter(g); }));
    GameState loaded;
    InitializeGameState(loaded);
    Game other{rt, loaded};
    Keys("CYxx");
    ASSERT_TRUE(Play([&] { LoadCharacter(other); }));
    EXPECT_EQ(loaded.heroName, s.heroName);
}

}  // namespace
}  // namespace kestran::game::testing
