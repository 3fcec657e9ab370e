// The watcher between the program and a window whose clock only moves when it waits.
#include "platform/watching.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake_window.h"

namespace kestran::testing {
namespace {

using platform::Event;
using platform::Key;
using platform::WatchingWindow;

// A window in which the player acts at given times: a wait moves the clock on to the next
// action, or by its timeout when the action comes later. Waiting for ever with nothing left to
// do closes the window.
class TimedWindow : public FakeWindow {
public:
    explicit TimedWindow(platform::FixedClock& clock) : clock_(clock) {}

    void At(int64_t ms, Event e) { actions_.emplace(ms, std::move(e)); }
    bool WaitEvent(Event& event, int timeoutMs) override {
        waitTimeouts.push_back(timeoutMs);
        const auto next = actions_.begin();
        const int64_t now = clock_.Milliseconds();
        if (next != actions_.end() && (timeoutMs < 0 || next->first <= now + timeoutMs)) {
            clock_.Advance(std::max<int64_t>(0, next->first - now));
            event = next->second;
            actions_.erase(next);
            return true;
        }
        if (timeoutMs < 0) return FakeWindow::WaitEvent(event, timeoutMs);
        clock_.Advance(timeoutMs);
        return false;
    }
    void ShowStatus(const std::string& line) override { statuses.push_back(line); }

    std::vector<int> waitTimeouts;
    std::vector<std::string> statuses;

private:
    platform::FixedClock& clock_;
    std::multimap<int64_t, Event> actions_;
};

std::vector<Event> Script(std::string_view keys) {
    std::vector<Event> script;
    for (char c : keys)
        script.push_back(Event::Character(uint8_t(c)));
    return script;
}

class WatchingTest : public ::testing::Test {
protected:
    // The program's next key wait: the byte of the character it gets (0 for another event) and
    // the time it came.
    std::pair<uint8_t, int64_t> NextKey(WatchingWindow& watcher) {
        Event e;
        EXPECT_TRUE(watcher.WaitEvent(e, -1));
        return {e.kind == Event::Kind::Character ? e.byte : 0, clock.Milliseconds()};
    }

    platform::FixedClock clock{platform::LocalTime{}};
    TimedWindow window{clock};
};

TEST_F(WatchingTest, KeysComeAtThePaceThenThePlayerPlaysOn) {
    window.Type("z");  // the player's, after the script
    // The break that left the recorded game, and the key that answered it, are not typed.
    WatchingWindow watcher(window, clock, Script("abc\x03x"), 4);
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('a'), int64_t(250)));
    EXPECT_EQ(window.statuses.back().substr(0, 37), "watching key 1/3 at 4 keys/s | Space ");
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('b'), int64_t(500)));
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('c'), int64_t(750)));
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('z'), int64_t(750)));
    EXPECT_FALSE(watcher.watching());
    EXPECT_EQ(window.statuses.back(), "");
}

TEST_F(WatchingTest, APauseWaitsWithoutATimeoutAndRightStepsOneKey) {
    window.At(100, Event::Character(' '));
    window.At(60'000, Event::KeyDown(Key::Right));
    window.At(70'000, Event::Character('+'));
    window.At(80'000, Event::Character(' '));
    WatchingWindow watcher(window, clock, Script("abc"), 8);
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('a'), int64_t(60'000)));
    // Paused, the watcher blocks until the player acts: no timed waits in between.
    EXPECT_EQ(window.waitTimeouts, (std::vector<int>{125, -1}));
    EXPECT_TRUE(watcher.paused());
    EXPECT_NE(window.statuses.back().find("key 1/3, paused"), std::string::npos);
    // Still paused after the step; the speed doubles; Space resumes a whole step later.
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('b'), int64_t(80'000 + 1000 / 16)));
    EXPECT_EQ(watcher.speed(), 16);
}

TEST_F(WatchingTest, ThePlayersKeysSteerTheWatcherAndNeverReachTheGame) {
    window.pollEvents = {Event::Character('x'), Event::KeyDown(Key::Up), Event::Character('-'),
                         Event::Of(Event::Kind::Expose)};
    WatchingWindow watcher(window, clock, Script("abc"), 8);
    Event e;
    ASSERT_TRUE(watcher.PollEvent(e));
    EXPECT_EQ(e.kind, Event::Kind::Expose);  // a repaint is the window's, as in play
    EXPECT_FALSE(watcher.PollEvent(e));
    EXPECT_EQ(watcher.speed(), 4);
    window.At(10, Event::Character(27));  // Esc: the player plays on from the first key
    window.At(20, Event::Character('q'));
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('q'), int64_t(20)));
    EXPECT_FALSE(watcher.watching());
    window.pollEvents = {Event::Character('r')};
    ASSERT_TRUE(watcher.PollEvent(e));
    EXPECT_EQ(e.byte, 'r');
}

TEST_F(WatchingTest, GoingForwardTypesAtOnceWithoutDrawingAndRepaintsWhereItLands) {
    window.At(0, Event::KeyDown(Key::End));
    WatchingWindow watcher(window, clock, Script("abcdef"), 1);
    for (char expected : std::string("abcde")) {
        EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t(expected), int64_t(0)));
        EXPECT_EQ(watcher.WantsPixels(), expected == 'e');
        watcher.Present({});
        watcher.Beep();
    }
    EXPECT_EQ(window.presents, 1);  // only the frame after the last key typed
    EXPECT_EQ(window.beeps, 1);
    EXPECT_EQ(NextKey(watcher).first, 0);  // the repaint
    EXPECT_TRUE(watcher.WantsPixels());
    EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t('f'), int64_t(1000)));
}

TEST_F(WatchingTest, GoingBackEndsTheRunAndTheNextRunGoesForwardToTheKeyAskedFor) {
    WatchingWindow watcher(window, clock, Script("abcdefghij"), 1000);
    for (int i = 0; i < 5; ++i)
        NextKey(watcher);
    window.At(clock.Milliseconds(), Event::KeyDown(Key::Left));
    Event e;
    ASSERT_TRUE(watcher.WaitEvent(e, -1));
    EXPECT_EQ(e.kind, Event::Kind::Close);
    ASSERT_TRUE(watcher.PollEvent(e));  // whatever the end of the program asks still ends it
    EXPECT_EQ(e.kind, Event::Kind::Close);
    ASSERT_TRUE(watcher.TakeRestart());
    EXPECT_FALSE(watcher.TakeRestart());
    EXPECT_EQ(watcher.typed(), 0u);
    EXPECT_EQ(NextKey(watcher).first, 0);  // the new run's screen is drawn whole
    // Another step back on the way counts from the key the watcher is going to.
    window.pollEvents = {Event::KeyDown(Key::Left)};
    EXPECT_FALSE(watcher.PollEvent(e));
    const int64_t start = clock.Milliseconds();
    for (char expected : std::string("abc")) {
        EXPECT_EQ(NextKey(watcher), std::make_pair(uint8_t(expected), start));
        watcher.Present({});
    }
    EXPECT_EQ(window.presents, 1);
    EXPECT_EQ(NextKey(watcher).first, 0);
    EXPECT_TRUE(watcher.paused());
    // A typed number goes there; Home goes back to the start.
    window.pollEvents = {Event::Character('7'), Event::Character('9'), Event::Character(8), Event::Character(13)};
    EXPECT_FALSE(watcher.PollEvent(e));
    EXPECT_EQ(watcher.typed(), 3u);
    for (char expected : std::string("defg"))
        EXPECT_EQ(NextKey(watcher).first, uint8_t(expected));
    window.pollEvents = {Event::KeyDown(Key::Home)};
    ASSERT_TRUE(watcher.PollEvent(e));
    EXPECT_EQ(e.kind, Event::Kind::Close);
    ASSERT_TRUE(watcher.TakeRestart());
    window.At(clock.Milliseconds() + 5, Event::KeyDown(Key::Right));
    EXPECT_EQ(NextKey(watcher).first, 0);
    EXPECT_EQ(NextKey(watcher).first, 'a');
}

TEST_F(WatchingTest, CtrlCHandsOverAndBreaksAndTheInputMethodWaitsForThePlayer) {
    WatchingWindow watcher(window, clock, Script("abc"), 8);
    watcher.SetTextInput(true, 3, 4);
    EXPECT_EQ(window.textInputCalls, 0);
    window.pollEvents = {Event::Character(3)};
    Event e;
    ASSERT_TRUE(watcher.PollEvent(e));
    EXPECT_EQ(e.byte, 3);
    EXPECT_FALSE(watcher.watching());
    EXPECT_TRUE(window.textInput);
    EXPECT_EQ(window.textInputColumn, 3);
}

}  // namespace
}  // namespace kestran::testing
