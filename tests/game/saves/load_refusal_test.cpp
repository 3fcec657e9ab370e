// Every file a load or a conversion refuses: the load trap's screen, the title next, and every
// game variable as it was before the load began.
#include <string>

#include "game/game_fixture.h"
#include "game/saves/saving.h"
#include "game/saves/state_compare.h"
#include "runtime/values/files.h"

namespace kestran::game::testing {
namespace {

class LoadRefusalTest : public GameTest {
protected:
    LoadRefusalTest() {
        // The hero in memory when the load starts.
        s.heroName = "CURRENT";
        s.gold = 777;
        s.heroStats(0) = 21;
        s.companionName = "ザーン"_sj;
        s.mapEvents(5, 0) = "99999999999999999999";
        s.loadDrive = "Z";
    }

    // A good save file of another hero, as lines without their line ends.
    std::vector<std::string> GoodLines() {
        GameState other;
        InitializeGameState(other);
        other.heroName = "OTHER";
        other.gold = 5;
        other.heroLevel = 1;
        Game og{rt, other};
        Keys("CYx");
        EXPECT_TRUE(Play([&] { SaveCharacter(og); }));
        const std::string bytes = ReadBytes(DrivePath('C', "KSSAVE"));
        std::vector<std::string> lines;
        for (std::size_t pos = 0; pos < bytes.size();) {
            const std::size_t end = bytes.find("\r\n", pos);
            if (end == std::string::npos) break;
            lines.push_back(bytes.substr(pos, end - pos));
            pos = end + 2;
        }
        EXPECT_EQ(lines.size(), 260u);
        return lines;
    }

    static std::string Join(const std::vector<std::string>& lines, std::size_t count) {
        std::string bytes;
        for (std::size_t i = 0; i < count && i < lines.size(); ++i)
            bytes += lines[i] + "\r\n";
        return bytes;
    }

    void WriteSave(const std::vector<std::string>& lines, std::size_t count = 260) {
        WriteBytes(DrivePath('C', "KSSAVE"), Join(lines, count));
    }

    // Loads with the drive key `drive` and expects the refusal.
    void ExpectRefused(std::string_view drive, Scene (*routine)(Game&) = LoadCharacter) {
        const GameState before = s;
        Keys(std::string(drive) + "Yx");
        Scene next = Scene::Town;
        ASSERT_TRUE(Play([&] { next = routine(g); }));
        EXPECT_EQ(next, Scene::Title);
        EXPECT_EQ(Row(1), " デバイスもしくはセーブファイルが見つかりませんでした");
        EXPECT_EQ(Row(2), " 何かキーを押すとタイトルに戻ります");
        EXPECT_TRUE(SameState(before, s));
        EXPECT_EQ(rt.files.Find(1), nullptr);
    }
};

TEST_F(LoadRefusalTest, AMissingFile) {
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, AKeyThatIsNoDriveLetter) {
    WriteSave(GoodLines());
    ExpectRefused("1");
    ExpectRefused(":");
}

TEST_F(LoadRefusalTest, ADriveThatDoesNotExist) {
    ExpectRefused("Q");
}

TEST_F(LoadRefusalTest, AFileThatEndsEarly) {
    const auto lines = GoodLines();
    WriteSave(lines, 259);
    ExpectRefused("C");
    WriteSave(lines, 12);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, ADamagedNumber) {
    auto lines = GoodLines();
    lines[22] = " 71 x";
    WriteSave(lines);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, AFileOverOneMebibyte) {
    const std::string padding(kMaxInputFileBytes, ' ');
    WriteBytes(DrivePath('C', "KSSAVE"), Join(GoodLines(), 260) + padding);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, AFieldLongerThanAnyNameCanBe) {
    auto lines = GoodLines();
    lines[11] = std::string(kMaxFieldBytes + 1, 'A') + lines[11].substr(lines[11].find(','));
    WriteSave(lines);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, APositionOffTheMaps) {
    auto lines = GoodLines();
    lines[22] = " 71 , 82 , 89 , 1300 , 9 , 1 , 0 , 1 , 3 , 0 ";
    WriteSave(lines);
    ExpectRefused("C");
    lines[22] = " 71 , 82 , 89 , 1300 , 2 , 21 , 0 , 1 , 3 , 0 ";
    WriteSave(lines);
    ExpectRefused("C");
    lines[22] = " 71 , 82 , 89 , 1300 , 2 , 20 , 20 , 1 , 3 , 0 ";
    WriteSave(lines);
    ExpectRefused("C");
    lines[22] = " 71 , 82 , 89 , 1300 , 2 , 20 , 19 , 1 , 0 , 0 ";
    WriteSave(lines);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, ALevelBelowOne) {
    auto lines = GoodLines();
    lines[22] = " 71 , 82 , 89 , 1300 , 0 , 1 , 0 , 0 , 3 , 0 ";
    WriteSave(lines);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, AnEventRowOfTheWrongLength) {
    auto lines = GoodLines();
    lines[30 + 45] = "1111";
    WriteSave(lines);
    ExpectRefused("C");
}

TEST_F(LoadRefusalTest, AQuotedTextThatTheNextSaveWouldSplit) {
    auto lines = GoodLines();
    lines[11] = "\"A,B\"" + lines[11].substr(lines[11].find(','));
    WriteSave(lines);
    ExpectRefused("C");
    lines = GoodLines();
    lines[12] = "\"X:Y\",,";
    WriteSave(lines);
    ExpectRefused("C");
}

// Reading drops the blanks around an unquoted field, so the next save would lose them: the name
// would change, and an event row would come back too short to load at all.
TEST_F(LoadRefusalTest, AQuotedTextWithBlanksAroundIt) {
    auto lines = GoodLines();
    lines[11] = "\"  A\"" + lines[11].substr(lines[11].find(','));
    WriteSave(lines);
    ExpectRefused("C");
    lines = GoodLines();
    lines[12] = "\"A \",,";
    WriteSave(lines);
    ExpectRefused("C");
    lines = GoodLines();
    lines[30] = "\" 1111111111111111111\"";
    WriteSave(lines);
    ExpectRefused("C");
    lines = GoodLines();
    lines[11] = "\"A B\"" + lines[11].substr(lines[11].find(','));  // a blank inside is kept
    WriteSave(lines);
    Keys("CYxx");
    ASSERT_TRUE(Play([&] { LoadCharacter(g); }));
    EXPECT_EQ(s.heroName, "A B");
}

TEST_F(LoadRefusalTest, AFailedLoadLeavesFileOneFreeForTheNext) {
    const auto lines = GoodLines();
    WriteSave(lines, 100);
    ExpectRefused("C");
    WriteSave(lines);
    Keys("CYxx");
    Scene next = Scene::Title;
    ASSERT_TRUE(Play([&] { next = LoadCharacter(g); }));
    EXPECT_EQ(next, Scene::Town);
    EXPECT_EQ(s.heroName, "OTHER");
    EXPECT_EQ(s.gold, 5);
}

TEST_F(LoadRefusalTest, AConversionOfAMissingOrShortFile) {
    ExpectRefused("C", ConvertCharacter);
    const auto lines = GoodLines();
    WriteBytes(DrivePath('C', "VELDSAVE"), Join(lines, 200));
    ExpectRefused("C", ConvertCharacter);
}

TEST_F(LoadRefusalTest, AConversionWhoseSaveCannotBeWrittenLeavesEverything) {
    auto lines = GoodLines();
    lines.erase(lines.begin() + 130, lines.begin() + 150);  // the predecessor had five floors
    WriteBytes(DrivePath('C', "VELDSAVE"), Join(lines, 240));
    fs::remove(DrivePath('C', "KSSAVE"));
    fs::create_directories(DrivePath('C', "KSSAVE") / "in-the-way");
    const GameState before = s;
    Keys("CYxxx");
    Scene next = Scene::Town;
    ASSERT_TRUE(Play([&] { next = ConvertCharacter(g); }));
    EXPECT_EQ(next, Scene::Title);
    EXPECT_EQ(Row(1), " デバイスもしくはセーブファイルが見つかりませんでした");
    EXPECT_TRUE(SameState(before, s));
    EXPECT_EQ(rt.files.Find(1), nullptr);
}

}  // namespace
}  // namespace kestran::game::testing
