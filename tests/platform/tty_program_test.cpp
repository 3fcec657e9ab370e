// The built program in a terminal: an 80x24 tmux pane, read back with capture-pane.
#if KESTRAN_HAVE_TTY
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/child_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using kestran::testing::Child;
using kestran::testing::RunCommand;

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return out;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The display columns of a UTF-8 prefix, with East Asian characters two wide (what the pane
// shows of the game's text).
int Columns(const std::string& utf8) {
    int columns = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto b = uint8_t(utf8[i]);
        if ((b & 0xC0) == 0x80) continue;
        columns += b >= 0xE3 ? 2 : 1;
    }
    return columns;
}

// The tmux server is the test's own child (-D keeps it from going off as a daemon), so it dies
// with the test; its clients (-N) never start a server of their own. The program in the pane gets
// the terminal's hangup when the server dies, and is killed when its shell dies.
class TtyProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("tmux -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is not installed";
        dir_ = fs::temp_directory_path() / ("kestran_tty_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        std::ofstream(dir_ / "tmux.conf") << "set -g status off\n"
                                             "set -g remain-on-exit on\n"
                                             "set -g default-terminal xterm-256color\n";
        const std::string socket = (dir_ / "sock").string();
        ASSERT_TRUE(server_.Start({"tmux", "-D", "-S", socket, "-f", (dir_ / "tmux.conf").string()}));
        tmux_ = "tmux -N -S " + Quote(socket);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (std::system((tmux_ + " list-sessions >/dev/null 2>&1").c_str()) != 0) {
            if (server_.Ended()) GTEST_SKIP() << "this tmux cannot run its server in the foreground (-D)";
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the tmux server did not answer";
            std::this_thread::sleep_for(20ms);
        }
    }
    void TearDown() override {
        if (!tmux_.empty()) std::system((tmux_ + " kill-server >/dev/null 2>&1").c_str());
        server_.Kill();
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    // Starts the program in a detached 80x24 session, without a display (where the terminal is
    // the default backend); the shell around it notes the terminal modes before and after it
    // and its exit status.
    void Start(const std::string& backend = "--backend=tty", const std::string& more = "--seed=1") {
        const std::string program = "setpriv --pdeathsig KILL env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                    std::string(KESTRAN_BINARY_DIR) + "/src/kestran --language=ja " + backend + " " +
                                    more + " --drives=" + Quote((dir_ / "drives").string());
        const std::string script = "cd " + Quote(dir_.string()) + " && stty -g >before && " + program +
                                   "; echo KESTRAN_EXIT=$?; stty -g >after";
        ASSERT_EQ(std::system((tmux_ + " new-session -d -s k -x 80 -y 24 " + Quote(script)).c_str()), 0);
    }
    void Send(const std::string& keys) { std::system((tmux_ + " send-keys -t k " + keys).c_str()); }
    std::vector<std::string> Pane(bool history = false) {
        std::istringstream text(Output(tmux_ + " capture-pane -p -t k" + (history ? " -S -" : "")));
        std::vector<std::string> rows;
        for (std::string line; std::getline(text, line);)
            rows.push_back(line);
        return rows;
    }
    // Waits until `text` shows on the pane (at `column` of `row` when they are given); gives up
    // at once when the program has ended.
    bool WaitFor(const std::string& text, int row = -1, int column = -1, bool history = false) {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < deadline) {
            last_ = Pane(history);
            bool ended = false;
            for (int r = 0; r < int(last_.size()); ++r) {
                const auto at = last_[size_t(r)].find(text);
                ended = ended || last_[size_t(r)].find("KESTRAN_EXIT=") != std::string::npos;
                if (row >= 0 && r != row) continue;
                if (at != std::string::npos && (column < 0 || Columns(last_[size_t(r)].substr(0, at)) == column))
                    return true;
            }
            if (ended) return false;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }
    // The terminal modes the shell wrote to `file` (stty -g), once it has written them.
    static std::string Modes(const fs::path& file) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        std::string modes = Read(file);
        for (; !modes.ends_with('\n') && std::chrono::steady_clock::now() < deadline; modes = Read(file))
            std::this_thread::sleep_for(50ms);
        return modes;
    }
    // Waits until row `row` reads exactly `whole`.
    bool WaitForRow(int row, const std::string& whole) {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < deadline) {
            last_ = Pane();
            if (int(last_.size()) > row && last_[size_t(row)] == whole) return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }
    // From the title, loads the hero saved on drive C (who stands in the labyrinth).
    void LoadFromDriveC() {
        Send("l");
        ASSERT_TRUE(WaitFor("デバイスを指定して下さい")) << LastPane();
        Send("c");
        Send("y");
        ASSERT_TRUE(WaitFor("ロードしました")) << LastPane();
        Send("x");
        Send("x");
    }
    std::string LastPane() const {
        std::string s;
        for (const auto& r : last_)
            s += r + "\n";
        return s;
    }

    fs::path dir_;
    Child server_;
    std::string tmux_;
    std::vector<std::string> last_;
};

TEST_F(TtyProgramTest, PlaysFromTheTitleToTheBreakAndLeavesTheTerminalSane) {
    Start();
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    EXPECT_TRUE(WaitFor("KESTRAN", 5, 33)) << LastPane();
    Send("n");
    ASSERT_TRUE(WaitFor("名前を入力して下さい", 2, 1)) << LastPane();
    // Typed UTF-8 text and the editing keys reach the line editor.
    Send("ARO");
    Send("Home");
    Send("-l たT");
    ASSERT_TRUE(WaitFor("たTARO", 2, 23)) << LastPane();
    Send("Home");
    Send("DC");
    Send("End");
    Send("X");
    Send("BSpace");
    ASSERT_TRUE(WaitForRow(2, " 名前を入力して下さい  TARO")) << LastPane();
    Send("Enter");
    ASSERT_TRUE(WaitFor("これでよろしいですか？(Y/N)", 19, 1)) << LastPane();
    EXPECT_TRUE(WaitForRow(1, " キャラクター名  TARO")) << LastPane();
    Send("C-c");
    ASSERT_TRUE(WaitFor("中断しました")) << LastPane();
    Send("x");
    ASSERT_TRUE(WaitFor("KESTRAN_EXIT=0", -1, 0, true)) << LastPane();
    EXPECT_FALSE(Read(dir_ / "before").empty());
    EXPECT_EQ(Read(dir_ / "before"), Modes(dir_ / "after")) << "terminal modes differ after the program";
}

// Ctrl+O is the romaji switch of the line editor; a terminal could keep it for itself (the
// discard character of its line discipline), so it is checked through a real one.
TEST_F(TtyProgramTest, CtrlOTypesRomajiAsKatakanaInTheName) {
    Start();
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    Send("n");
    ASSERT_TRUE(WaitFor("名前を入力して下さい", 2, 1)) << LastPane();
    Send("C-o");
    Send("-l kyatto");
    Send("C-o");
    Send("-l ab");
    ASSERT_TRUE(WaitForRow(2, " 名前を入力して下さい  キャットab")) << LastPane();
    Send("C-c");
    ASSERT_TRUE(WaitFor("中断しました")) << LastPane();
    Send("x");
    ASSERT_TRUE(WaitFor("KESTRAN_EXIT=0", -1, 0, true)) << LastPane();
}

TEST_F(TtyProgramTest, ASmallTerminalIsAskedToGrowAndAKillGivesTheTerminalBack) {
    Start("");
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    std::system((tmux_ + " resize-window -t k -x 60 -y 20").c_str());
    ASSERT_TRUE(WaitFor("80x24")) << LastPane();
    EXPECT_TRUE(WaitFor("60x20")) << LastPane();
    Send("n");  // not seen, so not taken
    std::this_thread::sleep_for(500ms);
    std::system((tmux_ + " resize-window -t k -x 80 -y 24").c_str());
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    // The shell in the pane runs the program as its only child.
    const std::string shell = Output(tmux_ + " list-panes -t k -F '#{pane_pid}'");
    const std::string program = Output("pgrep -P " + shell.substr(0, shell.find('\n')));
    ASSERT_FALSE(program.empty());
    ASSERT_EQ(::kill(std::stoi(program), SIGTERM), 0);
    ASSERT_TRUE(WaitFor("KESTRAN_EXIT=143", -1, 0, true)) << LastPane();
    EXPECT_EQ(Read(dir_ / "before"), Modes(dir_ / "after")) << "terminal modes differ after SIGTERM";
}

bool HasBraille(const std::string& utf8) {
    // U+2800..U+28FF: E2 A0 80 .. E2 A3 BF
    for (size_t i = 0; i + 1 < utf8.size(); ++i) {
        if (uint8_t(utf8[i]) == 0xE2 && uint8_t(utf8[i + 1]) >= 0xA0 && uint8_t(utf8[i + 1]) <= 0xA3) return true;
    }
    return false;
}

// Played by ear: a saved hero in the labyrinth, turned once. No braille anywhere, the corridor
// in words with the facing, and the cursor at the start of the last row that changed.
TEST_F(TtyProgramTest, ForAScreenReaderTheCorridorIsSaidInWordsWhereTheCursorRests) {
    fs::create_directories(dir_ / "drives" / "C");
    std::ofstream(dir_ / "drives" / "C" / "KSSAVE", std::ios::binary)
        << Read(fs::path(KESTRAN_SOURCE_DIR) / "tests/fuzz_saves/labyrinth.KSSAVE");
    Start("--screen-reader");
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    ASSERT_NO_FATAL_FAILURE(LoadFromDriveC());
    ASSERT_TRUE(WaitFor("向き。", 0, 2)) << LastPane();
    const std::string before = Pane()[0];
    Send("Left");
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (Pane()[0] == before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    last_ = Pane();
    ASSERT_NE(last_[0], before) << LastPane();
    EXPECT_EQ(last_[0].find("向き。"), 3u) << LastPane();  // one double-byte facing: 3 bytes
    for (const auto& row : last_)
        EXPECT_FALSE(HasBraille(row)) << row;
    std::istringstream cursor(Output(tmux_ + " display -p -t k '#{cursor_x} #{cursor_y}'"));
    int x = -1, y = -1;
    cursor >> x >> y;
    EXPECT_EQ(x, 0);
    ASSERT_TRUE(y >= 0 && y < 22) << y;
    EXPECT_NE(last_[size_t(y)].find("。"), std::string::npos) << "the cursor is on row " << y << "\n" << LastPane();
    Send("C-c");
    ASSERT_TRUE(WaitFor("中断しました")) << LastPane();
    Send("x");
    ASSERT_TRUE(WaitFor("KESTRAN_EXIT=0", -1, 0, true)) << LastPane();
}

// The entries of a trace ("@@ N KEY" and the 24 rows).
int TraceEntries(const std::string& trace) {
    int entries = trace.starts_with("@@ ") ? 1 : 0;
    for (size_t at = 0; (at = trace.find("\n@@ ", at)) != std::string::npos; ++at)
        ++entries;
    return entries;
}

// A new hero saved at creation and in the inn's diary, typed into the terminal one key at a
// time (each once the program has taken the one before and drawn its answer).
TEST_F(TtyProgramTest, ASessionRecordedHereReplaysHeadlessToTheSameTraceAndSave) {
    const std::string recording = (dir_ / "session.keys").string();
    const std::string trace = (dir_ / "tty.trace").string();
    Start("--backend=tty", "--seed=3 --record=" + Quote(recording) + " --trace=" + Quote(trace));
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    std::vector<std::string> keys = {"N", "C", "A", "R", "L", "Enter", "Y"};
    keys.insert(keys.end(), 7, "Enter");
    for (const char* k : {"Y", "Y", "C", "Y", "x", "I", "Y", "Y", "C", "N", "c", "Y", "x", "x"})
        keys.push_back(k);
    for (size_t i = 0; i < keys.size(); ++i) {
        Send(keys[i] == "Enter" ? keys[i] : "-l " + keys[i]);
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (TraceEntries(Read(trace)) <= int(i) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        ASSERT_EQ(TraceEntries(Read(trace)), int(i) + 1) << "key " << i << " was not taken\n" << LastPane();
        std::this_thread::sleep_for(150ms);
    }
    const std::string saved = Read(dir_ / "drives" / "C" / "KSSAVE");
    ASSERT_FALSE(saved.empty());
    Send("C-c");
    ASSERT_TRUE(WaitFor("中断しました")) << LastPane();
    Send("x");
    ASSERT_TRUE(WaitFor("KESTRAN_EXIT=0", -1, 0, true)) << LastPane();

    const fs::path replayDrives = dir_ / "replay";
    const std::string replayTrace = (dir_ / "headless.trace").string();
    const std::string command =
        std::string(KESTRAN_BINARY_DIR) + "/src/kestran --backend=headless --keys-file=" + Quote(recording) +
        " --trace=" + Quote(replayTrace) + " --drives=" + Quote(replayDrives.string()) + " 2>/dev/null";
    ASSERT_EQ(RunCommand("exec " + command), 0) << Read(recording);
    // The break ends both; the replay's script runs out with the end of the program.
    const std::string session = Read(trace);
    const std::string replayed = Read(replayTrace);
    EXPECT_EQ(TraceEntries(session), int(keys.size()) + 2);
    ASSERT_GE(replayed.size(), session.size());
    EXPECT_EQ(replayed.substr(0, session.size()), session);
    EXPECT_EQ(Read(replayDrives / "C" / "KSSAVE"), saved) << "the save differs";
}

// A signal at the title, while walking in the labyrinth, or as the camp's diary saves: the
// terminal is given back as it was, an interrupt is the game's break, the other signals end
// the program by themselves, and the save on disk is the old one or the new one, whole. The
// next start removes a temporary file the signal left.
enum class Moment { Title, Walking, Saving };

class TtySignalTest : public TtyProgramTest, public ::testing::WithParamInterface<std::tuple<int, Moment>> {
protected:
    static std::string OldSave() { return Read(fs::path(KESTRAN_SOURCE_DIR) / "tests/fuzz_saves/labyrinth.KSSAVE"); }

    // The save the diary writes after one turn to the left, from a headless run of the same keys.
    std::string NewSave() {
        const fs::path drives = dir_ / "reference";
        fs::create_directories(drives / "C");
        std::ofstream(drives / "C" / "KSSAVE", std::ios::binary) << OldSave();
        const std::string command = std::string(KESTRAN_BINARY_DIR) + "/src/kestran --backend=headless --seed=1 " +
                                    "--drives=" + Quote(drives.string()) + " --keys='LCYxx{Left}CxSCYx'";
        EXPECT_EQ(RunCommand("exec " + command), 0);
        return Read(drives / "C" / "KSSAVE");
    }

    int ProgramPid() {
        const std::string shell = Output(tmux_ + " list-panes -t k -F '#{pane_pid}'");
        const std::string program = Output("pgrep -P " + shell.substr(0, shell.find('\n')));
        return program.empty() ? -1 : std::stoi(program);
    }
};

TEST_P(TtySignalTest, LeavesTheTerminalAndTheSave) {
    const auto [signal, moment] = GetParam();
    fs::create_directories(dir_ / "drives" / "C");
    std::ofstream(dir_ / "drives" / "C" / "KSSAVE", std::ios::binary) << OldSave();
    const std::string newSave = NewSave();
    ASSERT_NE(newSave, OldSave());
    Start();
    ASSERT_TRUE(WaitFor("(N) NEW  GAME", 14, 33)) << LastPane();
    const int pid = ProgramPid();
    ASSERT_GT(pid, 0);
    if (moment != Moment::Title) {
        ASSERT_NO_FATAL_FAILURE(LoadFromDriveC());
        ASSERT_TRUE(WaitFor("仲間")) << LastPane();
        Send("Left");
        if (moment == Moment::Walking) {
            Send("Right");
            Send("Up");
        } else {
            Send("c");
            Send("x");
            Send("s");
            Send("c");
            ASSERT_TRUE(WaitFor("ドライブでよろしいですか")) << LastPane();
            Send("y");
        }
    }
    ASSERT_EQ(::kill(pid, signal), 0);
    if (signal == SIGINT) {
        // The break's message waits for a key, unless a key still on its way took it already.
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        for (bool sent = false; std::chrono::steady_clock::now() < deadline;) {
            const std::string pane = Output(tmux_ + " capture-pane -p -S - -t k");
            if (pane.find("KESTRAN_EXIT=") != std::string::npos) break;
            if (!sent && pane.find("中断しました") != std::string::npos) {
                Send("x");
                sent = true;
            }
            std::this_thread::sleep_for(100ms);
        }
    }
    const std::string exit = "KESTRAN_EXIT=" + std::to_string(signal == SIGINT ? 0 : 128 + signal);
    // The key for the break's message may have come after the program's end: the terminal, given
    // back, then shows it before the shell's line.
    ASSERT_TRUE(WaitFor(exit, -1, signal == SIGINT ? -1 : 0, true)) << LastPane();
    EXPECT_EQ(Read(dir_ / "before"), Modes(dir_ / "after")) << "terminal modes differ after signal " << signal;
    const std::string onDisk = Read(dir_ / "drives" / "C" / "KSSAVE");
    EXPECT_TRUE(onDisk == OldSave() || (moment == Moment::Saving && onDisk == newSave));
    // The next start tidies up whatever the signal left.
    const std::string again = std::string(KESTRAN_BINARY_DIR) +
                              "/src/kestran --backend=headless --keys=x --drives=" + Quote((dir_ / "drives").string());
    EXPECT_EQ(RunCommand("exec " + again), 0);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir_ / "drives" / "C"))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"KSSAVE"});
}

std::string SignalCaseName(const ::testing::TestParamInfo<std::tuple<int, Moment>>& info) {
    static const char* const kMoments[] = {"Title", "Walking", "Saving"};
    return std::string(sigabbrev_np(std::get<0>(info.param))) + kMoments[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Signals, TtySignalTest,
                         ::testing::Combine(::testing::Values(SIGINT, SIGTERM, SIGHUP),
                                            ::testing::Values(Moment::Title, Moment::Walking, Moment::Saving)),
                         SignalCaseName);

// Watching a recording in the terminal, against the headless run of the same script.
class TtyWatchTest : public TtyProgramTest {
protected:
    static fs::path Case(const std::string& name) { return fs::path(KESTRAN_SOURCE_DIR) / "tests/replay" / name; }

    // The screens of the headless run's trace: entry n is the screen at the n-th key wait, after
    // n - 1 keys (entry 0 is unused).
    std::vector<std::vector<std::string>> HeadlessScreens(const std::string& args) {
        const std::string trace = (dir_ / "headless.trace").string();
        const std::string command = std::string(KESTRAN_BINARY_DIR) + "/src/kestran --backend=headless " + args +
                                    " --trace=" + Quote(trace) + " --drives=" + Quote((dir_ / "ref").string());
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::vector<std::vector<std::string>> screens(1);
        std::istringstream text(Read(trace));
        for (std::string line; std::getline(text, line);) {
            if (line.starts_with("@@ ")) {
                screens.emplace_back();
            } else if (screens.size() > 1) {
                screens.back().push_back(line);
            }
        }
        return screens;
    }
    // The pane's top 24 rows as the trace writes them: the corridor's braille cells are the
    // picture, which the trace leaves out.
    std::vector<std::string> GameRows() {
        std::vector<std::string> rows = Pane();
        rows.resize(24);
        for (auto& row : rows) {
            row = std::regex_replace(row, std::regex("\xE2[\xA0-\xA3][\x80-\xBF]"), " ");
            row.erase(row.find_last_not_of(' ') + 1);
        }
        return rows;
    }
    bool WaitForScreen(const std::vector<std::string>& screen) {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        for (; std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(100ms)) {
            if (GameRows() == screen) return true;
        }
        last_ = Pane();
        return false;
    }
    std::string Title() { return Output(tmux_ + " display -p -t k '#{pane_title}'"); }
    void EndWithTheBreak() {
        Send("C-c");
        ASSERT_TRUE(WaitFor("中断しました")) << LastPane();
        Send("x");
        ASSERT_TRUE(WaitFor("KESTRAN_EXIT=0", -1, 0, true)) << LastPane();
    }
    // The number of script keys the status line says were typed.
    int KeysTyped() {
        std::smatch m;
        const std::string status = Pane().at(24);
        return std::regex_search(status, m, std::regex("watching key ([0-9]+)/")) ? std::stoi(m[1]) : -1;
    }
};

TEST_F(TtyWatchTest, AtAHighSpeedTheWatcherEndsOnTheScreenTheHeadlessRunEndsOn) {
    const std::string keys = Quote(Case("dungeon_walk_stairs_and_home/keys").string());
    const auto screens = HeadlessScreens("--seed=23 --keys-file=" + keys);
    // A 24-row terminal: the state goes into its title.
    Start("--backend=tty", "--seed=23 --speed=1000 --watch=" + keys);
    ASSERT_TRUE(WaitForScreen(screens.back())) << LastPane();
    EXPECT_EQ(Title().find("watching"), std::string::npos) << Title();
    EXPECT_FALSE(fs::exists(dir_ / "drives" / "C")) << "the replay wrote the player's drives";
    EndWithTheBreak();
}

TEST_F(TtyWatchTest, PausedTheWatcherStepsAKeyAndGoesBackOnTheRowBelowTheGame) {
    const std::string keys = Quote(Case("town_new_game/keys").string());
    const auto screens = HeadlessScreens("--seed=1 --keys-file=" + keys);
    Start("--backend=tty", "--seed=1 --speed=4 --watch=" + keys);
    std::system((tmux_ + " resize-window -t k -x 80 -y 25").c_str());
    ASSERT_TRUE(WaitFor("watching key ", 24, 0)) << LastPane();
    Send("Space");
    ASSERT_TRUE(WaitFor(", paused | Space pause", 24)) << LastPane();
    const int typed = KeysTyped();
    ASSERT_GE(typed, 0);
    ASSERT_TRUE(WaitForScreen(screens.at(size_t(typed) + 1))) << typed << "\n" << LastPane();
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(KeysTyped(), typed);
    for (int step = 1; step <= 3; ++step) {
        Send("Right");
        ASSERT_TRUE(WaitForScreen(screens.at(size_t(typed + step) + 1))) << step << "\n" << LastPane();
        EXPECT_EQ(KeysTyped(), typed + step);
    }
    // Two back: the game starts again and goes forward without drawing.
    Send("Left");
    Send("Left");
    ASSERT_TRUE(WaitFor("watching key " + std::to_string(typed + 1) + "/", 24, 0)) << LastPane();
    ASSERT_TRUE(WaitForScreen(screens.at(size_t(typed) + 2))) << LastPane();
    Send("Escape");
    ASSERT_TRUE(WaitForRow(24, "")) << LastPane();
    EndWithTheBreak();
}

// The recording of a watched game taken over holds the script's keys and the player's, and
// replays headless to the trace of the session.
TEST_F(TtyWatchTest, AGameTakenOverIsRecordedWholeAndReplaysHeadless) {
    const fs::path script = dir_ / "friend.keys";
    std::ofstream(script) << "#seed 1\n" << Read(Case("town_new_game/keys"));
    const auto screens = HeadlessScreens("--keys-file=" + Quote(script.string()));
    const std::string recording = (dir_ / "mine.keys").string();
    const std::string trace = (dir_ / "tty.trace").string();
    Start("--backend=tty", "--speed=1000 --watch=" + Quote(script.string()) + " --record=" + Quote(recording) +
                               " --trace=" + Quote(trace));
    ASSERT_TRUE(WaitForScreen(screens.back())) << LastPane();
    const int scripted = TraceEntries(Read(trace));
    const std::vector<std::string> mine = {"M", "Up", "Up", "Right"};
    for (size_t i = 0; i < mine.size(); ++i) {
        Send(mine[i]);
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (TraceEntries(Read(trace)) <= scripted + int(i) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(TraceEntries(Read(trace)), scripted + int(mine.size())) << LastPane();
    EndWithTheBreak();
    EXPECT_FALSE(fs::exists(dir_ / "drives" / "C" / "KSSAVE")) << "the watched game saved into the player's drives";

    const std::string replayTrace = (dir_ / "replayed.trace").string();
    const std::string command = std::string(KESTRAN_BINARY_DIR) +
                                "/src/kestran --backend=headless --keys-file=" + Quote(recording) +
                                " --trace=" + Quote(replayTrace) + " --drives=" + Quote((dir_ / "replay").string());
    ASSERT_EQ(std::system(command.c_str()), 0) << Read(recording);
    const std::string session = Read(trace);
    EXPECT_EQ(Read(replayTrace).substr(0, session.size()), session);
    EXPECT_TRUE(Read(recording).starts_with("#seed 1\n"));
}

// Without a display or a terminal there is no window to open: the start-up failure.
TEST(TtyChoiceTest, WithoutATerminalTheProgramCannotOpenItsWindow) {
    const fs::path err = fs::temp_directory_path() / ("kestran_tty_choice_" + std::to_string(::getpid()));
    for (const std::string backend : {"", "--backend=tty"}) {
        const std::string command = "exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                    std::string(KESTRAN_BINARY_DIR) + "/src/kestran --language=ja " + backend +
                                    " --drives=" + Quote((err.string() + "_drives")) + " </dev/null >/dev/null 2>" +
                                    Quote(err.string());
        EXPECT_EQ(RunCommand(command), 1) << backend;
        EXPECT_NE(Read(err).find("ウィンドウをオープンできません"), std::string::npos) << backend << ": " << Read(err);
    }
    fs::remove(err);
    fs::remove_all(err.string() + "_drives");
}

}  // namespace
#endif
