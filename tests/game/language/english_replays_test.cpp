// Every golden run played again in English: the same game underneath (the same key waits, saves
// and random draws), and every screen in English that fits the cells of its Japanese.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "game/game.h"
#include "game/language/fit_check.h"
#include "game/state/start_up.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/headless/headless_window.h"
#include "platform/recording.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"

namespace kestran::game {
namespace {

namespace fs = std::filesystem;

const fs::path kReplays = fs::path(KESTRAN_SOURCE_DIR) / "tests/replay";
const fs::path kRareTexts = fs::path(KESTRAN_SOURCE_DIR) / "tests/game/language/rare_texts.txt";

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct Played {
    std::string trace;
    std::map<std::string, std::string> files;  // the drive folders afterwards, by path
    uint32_t generator = 0;
    std::string heroName;  // UTF-8
};

// The case's scripts (`keys`, then `keys.2` on the same drives) as the headless program plays them.
Played Play(const fs::path& caseDir, Language language, FitCheck* fit) {
    Played run;
    const fs::path drives = fs::temp_directory_path() / ("kestran_en_" + std::to_string(::getpid()));
    fs::remove_all(drives);
    fs::create_directories(drives);
    if (fs::exists(caseDir / "drives")) fs::copy(caseDir / "drives", drives, fs::copy_options::recursive);
    const auto seed = static_cast<uint32_t>(std::stoul(ReadAll(caseDir / "seed")));
    const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
    for (const std::string suffix : {"", ".2"}) {
        if (!fs::exists(caseDir / ("keys" + suffix))) continue;
        platform::KeyScript script;
        std::string error;
        EXPECT_TRUE(platform::ParseKeyScript(ReadAll(caseDir / ("keys" + suffix)), true, encode, script, error));
        std::ostringstream trace;
        platform::HeadlessWindow window(std::move(script.keys), &trace);
        platform::FixedClock clock{platform::LocalTime{}};
        platform::DriveMap driveMap(drives);
        platform::Platform platform;
        platform.window = &window;
        platform.clock = &clock;
        platform.drives = &driveMap;
        Runtime rt(platform);
        GameState s;
        InitializeGameState(s);
        RunProgram(rt, [&](Runtime& r) { RunGame(r, s, seed, language, fit); });
        run.trace += trace.str();
        run.generator = rt.random.seed;
        run.heroName = SjisToUtf8(s.heroName);
    }
    for (const auto& entry : fs::recursive_directory_iterator(drives)) {
        if (entry.is_regular_file()) run.files[fs::relative(entry.path(), drives).string()] = ReadAll(entry.path());
    }
    fs::remove_all(drives);
    return run;
}

std::vector<std::string> Lines(const std::string& text, bool waits) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if ((line.rfind("@@", 0) == 0) == waits) lines.push_back(line);
    }
    return lines;
}

// Rows showing a character outside ASCII besides the hero's name: untranslated text. The name
// being typed is the one Japanese a row may hold.
std::vector<std::string> JapaneseRows(const Played& run) {
    std::vector<std::string> rows;
    for (std::string row : Lines(run.trace, false)) {
        for (auto at = run.heroName.empty() ? std::string::npos : row.find(run.heroName); at != std::string::npos;
             at = row.find(run.heroName))
            row.erase(at, run.heroName.size());
        const bool typing = row.find("Enter the hero's name:") != std::string::npos;
        if (!typing && std::any_of(row.begin(), row.end(), [](char c) { return c & 0x80; })) rows.push_back(row);
    }
    return rows;
}

TEST(EnglishReplays, EveryGoldenRunPlaysTheSameGameAndEveryScreenFitsInEnglish) {
    FitCheck fit;
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(kReplays)) {
        if (!fs::exists(entry.path() / "keys")) continue;
        ++cases;
        SCOPED_TRACE(entry.path().filename().string());
        const Played japanese = Play(entry.path(), Language::Japanese, nullptr);
        const Played english = Play(entry.path(), Language::English, &fit);
        EXPECT_EQ(Lines(english.trace, true), Lines(japanese.trace, true));
        EXPECT_EQ(english.files, japanese.files);
        EXPECT_EQ(english.generator, japanese.generator);
        const auto rows = JapaneseRows(english);
        EXPECT_TRUE(rows.empty()) << rows.size() << " rows, the first: " << rows.front();
    }
    EXPECT_GT(cases, 40);
    std::ostringstream faults;
    for (const std::string& fault : fit.faults())
        faults << fault << "\n";
    EXPECT_TRUE(fit.faults().empty()) << faults.str();

    // Each entry is seen in some run, or is known to need what no golden run does.
    std::set<std::string> rare;
    for (const std::string& id : Lines(ReadAll(kRareTexts), false)) {
        if (!id.empty() && id[0] != '#') rare.insert(id);
    }
    std::ostringstream unseen, seen;
    for (const std::string& id : CatalogueFor(Language::English)->Ids()) {
        if (!fit.shown().contains(id) && !rare.contains(id)) unseen << id << "\n";
        if (fit.shown().contains(id) && rare.contains(id)) seen << id << "\n";
    }
    EXPECT_EQ(unseen.str(), "") << "shown by no golden run nor listed in " << kRareTexts;
    EXPECT_EQ(seen.str(), "") << "listed as rare in " << kRareTexts << " but shown";
}

}  // namespace
}  // namespace kestran::game
