// The error-message library and its loader: found, missing, not loadable, without a text.
#include "platform/errmsg_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "runtime/values/sjis_literal.h"

namespace kestran::testing {
namespace {

using platform::LookupErrorMessage;

const std::filesystem::path kLibraryFolder = KESTRAN_BINARY_DIR "/src";

TEST(ErrorMessageLibrary, GivesTheShiftJisTextOfAnErrorNumber) {
    EXPECT_EQ(LookupErrorMessage(kLibraryFolder, 5, platform::kScreenReportBuffer),
              "関数の呼び出しまたは引数の値が正しくありません"_sj.str());
    EXPECT_EQ(LookupErrorMessage(kLibraryFolder, 63, platform::kMessageBoxBuffer), "ファイルが見つかりません"_sj.str());
}

TEST(ErrorMessageLibrary, NumberWithoutATextGivesNothing) {
    EXPECT_EQ(LookupErrorMessage(kLibraryFolder, 0, 260), "");
    EXPECT_EQ(LookupErrorMessage(kLibraryFolder, 4242, 260), "");
    EXPECT_EQ(LookupErrorMessage(kLibraryFolder, -5, 260), "");
}

TEST(ErrorMessageLibrary, MissingLibraryGivesNothing) {
    EXPECT_EQ(LookupErrorMessage("/nonexistent/folder", 5, 260), "");
    EXPECT_EQ(LookupErrorMessage("", 5, 260), "");
}

TEST(ErrorMessageLibrary, FileThatIsNoLibraryGivesNothing) {
    const auto folder = std::filesystem::temp_directory_path() / ("kestran-errmsg-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / platform::kErrorMessageLibraryName) << "not a shared library";
    EXPECT_EQ(LookupErrorMessage(folder, 5, 260), "");
    std::filesystem::remove_all(folder);
}

TEST(ErrorMessageLibrary, SmallBufferCutsBetweenCharactersAndEndsTheText) {
    // 7 bytes of room: three double-byte characters, never half of the fourth.
    const auto text = LookupErrorMessage(kLibraryFolder, 63, 8);
    EXPECT_EQ(text, "ファイ"_sj.str());
    EXPECT_EQ(LookupErrorMessage(kLibraryFolder, 63, 1), "");
}

// Every literal error number raised in the runtime's sources, and the numbers it raises through
// variables (system failures, file fields) or outside this program's own operations.
std::set<int> NumbersTheRuntimeRaises() {
    std::set<int> numbers{5,  7,  13, 16, 20, 27, 28, 54, 55, 58, 59, 60,   61,   63,
                          64, 66, 67, 71, 72, 73, 75, 76, 81, 89, 90, 1000, 1002, 1006};
    const std::regex raise(R"((?:PbRaiseError|PbError)\(\s*(\d+)\s*,)");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KESTRAN_SOURCE_DIR "/src")) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path());
        std::stringstream s;
        s << in.rdbuf();
        const std::string text = s.str();
        for (std::sregex_iterator m(text.begin(), text.end(), raise), end; m != end; ++m) {
            numbers.insert(std::stoi((*m)[1].str()));
        }
    }
    return numbers;
}

// The English text of a number is ASCII and fits the message box's room, where the Japanese
// one does: an English report is never cut.
TEST(ErrorMessageLibrary, EveryNumberTheRuntimeRaisesHasATextInBothLanguages) {
    for (int number : NumbersTheRuntimeRaises()) {
        const auto text = LookupErrorMessage(kLibraryFolder, number, platform::kScreenReportBuffer);
        EXPECT_FALSE(text.empty()) << "error " << number << " has no text";
        const auto english =
            LookupErrorMessage(kLibraryFolder, number, platform::kMessageBoxBuffer, platform::MessageLanguage::English);
        EXPECT_TRUE(!english.empty() && english.size() < 79 && english != text) << "error " << number;
        EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) { return c >= ' ' && c < 127; })) << english;
    }
}

}  // namespace
}  // namespace kestran::testing
