// The drive questions, the save trap and a conversion that succeeds.
#include "game/saves/saving.h"

#include <string>

#include "game/game_fixture.h"
#include "game/saves/state_compare.h"

namespace kestran::game::testing {
namespace {

using SavingTest = GameTest;

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0;;) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) return lines;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
}

TEST_F(SavingTest, ASaveThatFailsShowsItsTrapAndAsksForTheDriveAgain) {
    s.heroName = "KEEP";
    Keys("1Y");
    EXPECT_FALSE(Play([&] { SaveCharacter(g); }));
    EXPECT_EQ(Row(1), " 指定したデバイスが見つかりませんでした");
    EXPECT_EQ(Row(2), " 何かキーを押すとデバイス選択画面に戻ります");
    Keys(
        "1Yx"
        "QYx"
        "CN"
        "CYx");
    ASSERT_TRUE(Play([&] { SaveCharacter(g); }));
    EXPECT_EQ(Row(1), " セーブしました");
    EXPECT_EQ(Lines(ReadBytes(DrivePath('C', "KSSAVE")))[11].substr(0, 5), "KEEP,");
    EXPECT_EQ(rt.files.Find(1), nullptr);
    EXPECT_TRUE(rt.returns.empty());
}

TEST_F(SavingTest, TheDriveQuestionsStandWhereTheScreensPutThem) {
    Keys("Dq");
    EXPECT_FALSE(Play([&] { SaveCharacter(g); }));
    EXPECT_EQ(Row(1), " キャラクターをセーブします");
    EXPECT_EQ(Row(2), " デバイスを指定して下さい（通常は「 C 」を入力して下さい)");
    EXPECT_EQ(Row(3), " 同一デバイス上のセーブデータは上書きされます");
    EXPECT_EQ(Row(5), " Dドライブでよろしいですか？(Y/N)");
    Keys("d");
    EXPECT_FALSE(Play([&] { LoadCharacter(g); }));
    EXPECT_EQ(Row(1), " キャラクターをロードします");
    EXPECT_EQ(Row(4), " dドライブでよろしいですか？(Y/N)");
}

TEST_F(SavingTest, AConversionTakesFiveFloorsPutsTheStaircaseAndSavesOnTheSameDrive) {
    // The predecessor's file: this game's layout without the sixth floor.
    GameState veld;
    InitializeGameState(veld);
    veld.heroName = "VELD";
    veld.gold = 4321;
    veld.heroLevel = 1;
    veld.mapEvents(4, 0) = "11111111111111111111";
    veld.mapEvents(0, 3) = "11111111111111111111";
    Game vg{rt, veld};
    fs::create_directories(DrivePath('D', "KSSAVE").parent_path());
    Keys("DYx");
    ASSERT_TRUE(Play([&] { SaveCharacter(vg); }));
    auto lines = Lines(ReadBytes(DrivePath('D', "KSSAVE")));
    lines.erase(lines.begin() + 130, lines.begin() + 150);
    std::string file;
    for (const auto& l : lines)
        file += l + "\r\n";
    WriteBytes(DrivePath('D', "VELDSAVE"), file);

    s.mapEvents(5, 7) = "KKKKKKKKKKKKKKKKKKKK";  // the sixth floor stays as this run has it
    Keys("DYxxx");
    Scene next = Scene::Town;
    ASSERT_TRUE(Play([&] { next = ConvertCharacter(g); }));
    EXPECT_EQ(next, Scene::Title);
    EXPECT_EQ(Row(1), " キャラクターのコンバートが終了しました");
    EXPECT_EQ(s.heroName, "VELD");
    EXPECT_EQ(s.gold, 4321);
    EXPECT_EQ(s.mapEvents(4, 0), "111111111D1111111111");
    EXPECT_EQ(s.mapEvents(0, 3), "11111111111111111111");
    EXPECT_EQ(s.mapEvents(5, 7), "KKKKKKKKKKKKKKKKKKKK");
    EXPECT_EQ(s.saveFileName, "D:KSSAVE");

    const auto saved = Lines(ReadBytes(DrivePath('D', "KSSAVE")));
    ASSERT_EQ(saved.size(), 260u);
    EXPECT_EQ(saved[30 + 80], "111111111D1111111111");
    EXPECT_EQ(saved[30 + 100 + 7], "KKKKKKKKKKKKKKKKKKKK");
    EXPECT_TRUE(rt.returns.empty());
}

}  // namespace
}  // namespace kestran::game::testing
