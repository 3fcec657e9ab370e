// Watching a recorded game: the keys of a key script typed to the program at a human pace in a
// window or a terminal, then the keyboard handed to the player.
//
// A script key is typed only when the program waits for a key, as the headless window types
// them, so the game takes the keys exactly as in a headless replay and draws its screens as in
// play. While the script plays, the player's keys steer the watcher and never reach the game:
//   Space            pause and resume
//   Right            pause and type the next key
//   Left             pause and go back one key
//   + (also =), -    double, halve the speed (1 to 1000 keys per second)
//   Home, End        go to the start, to the last key
//   PgUp, PgDn       go back, forward a tenth of the script
//   digits and Enter go to the key of that number (BS takes a digit back, Esc drops them)
//   Esc              stop watching: the player plays on from here
//   Ctrl+C           stop watching and break, as in play
// When the script is used up the player plays on; a break that ends the script (how a game in the
// terminal is left) is not typed. Going forward types the keys at once without
// drawing. Going back needs the game started again: the program ends as if the window were
// closed, TakeRestart() says so, and the caller runs the game again from its start (the same
// seed, the same drive contents) with this window, which then goes forward to the key asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/recording.h"
#include "platform/scratch_drives.h"
#include "platform/window.h"

namespace kestran::platform {

// Reads a recording to watch: a key script as a file holds it, which names the seed it was played
// with ("#seed N", as every recording begins). False, with the reason, for anything else.
bool ParseRecording(std::string_view text, const Utf8CharToSjis& encode, KeyScript& out, std::string& error);

class WatchingWindow final : public Window {
public:
    static constexpr int kDefaultSpeed = 8;
    static constexpr int kMinSpeed = 1;
    static constexpr int kMaxSpeed = 1000;

    // `keysPerSecond` is clamped to the speeds above; time is read from `clock`.
    WatchingWindow(Window& inner, const Clock& clock, std::vector<Event> script, int keysPerSecond);

    void Present(const FrameView& frame) override;
    bool WaitEvent(Event& event, int timeoutMs) override;
    bool PollEvent(Event& event) override;
    void Beep() override;
    void SetTextInput(bool on, int column, int row) override;
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override {
        inner_.ShowMessage(titleUtf8, textUtf8);
    }
    void ShowStatus(const std::string& lineUtf8) override { inner_.ShowStatus(lineUtf8); }
    void SetAccessibleText(const std::string& utf8) override { inner_.SetAccessibleText(utf8); }
    bool WantsPixels() const override { return !Seeking() && inner_.WantsPixels(); }
    PixelLayout WantedLayout() const override { return inner_.WantedLayout(); }

    // After the program ended: true, once, when it ended so that the game starts again for a
    // step back. The next run types the script from its first key.
    bool TakeRestart();

    bool watching() const { return !takenOver_; }
    bool paused() const { return paused_; }
    int speed() const { return speed_; }
    // Keys of the script typed in this run of the game.
    size_t typed() const { return typed_; }
    size_t scriptSize() const { return script_.size(); }
    // The watcher's state as the status line shows it; empty once the player plays.
    std::string StatusText() const;

private:
    enum class Outcome { Handled, PassOn };

    bool Seeking() const { return !takenOver_ && seekTo_ && typed_ < *seekTo_; }
    // The key the watcher shows, or is on its way to: where a step or a tenth counts from.
    size_t Position() const { return restart_ || Seeking() ? *seekTo_ : typed_; }
    bool TakePending(Event& event);
    bool TypeNext(Event& event);
    Outcome Steer(const Event& event);
    bool SteerByCharacter(uint8_t byte);
    bool SteerByKey(Key key);
    void GoTo(size_t key);
    void SetPaused(bool paused);
    void ChangeSpeed(bool faster);
    void TakeOver();
    void UpdateStatus();
    int64_t NextKeyDue() const { return lastTyped_ + 1000 / speed_; }

    Window& inner_;
    const Clock& clock_;
    std::vector<Event> script_;
    size_t typed_ = 0;
    int speed_;
    bool paused_ = false;
    bool takenOver_ = false;
    bool restart_ = false;
    bool skippedFrames_ = false;  // frames left undrawn while going forward
    std::optional<size_t> seekTo_;
    std::string typedNumber_;
    int64_t lastTyped_ = 0;
    int64_t lastPoll_ = INT64_MIN / 2;  // long ago
    std::deque<Event> pending_;         // handed to the program before anything else
    struct TextInput {
        bool on = false;
        int column = 0;
        int row = 0;
    } textInput_;  // what the game asked for, given to the window when the player takes over
};

// The runs of a watched game: `playOnce` runs the game once on `platform` (whose window is, or
// wraps, `watcher`), again from its start for each step back the player asks for, every run on a
// fresh copy of `scratch` (`again` is true for the runs after the first). The last run's exit
// status; -1, with the reason, when a copy of the drives could not be made.
int PlayWatchedRuns(Platform& platform, ScratchDrives& scratch, WatchingWindow& watcher,
                    const std::function<int(bool again)>& playOnce, std::string& error);

}  // namespace kestran::platform
