#include "platform/watching.h"

#include <algorithm>
#include <filesystem>

#include "platform/drives.h"

namespace kestran::platform {

namespace {

constexpr uint8_t kCtrlC = 3;
constexpr uint8_t kBackspace = 8;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kEsc = 27;
// While going forward nothing is drawn; the window is still asked for a close this often.
constexpr int64_t kSeekPollMs = 100;
constexpr size_t kMaxTypedDigits = 9;

// A game played in the terminal is mostly left with the break, which a recording keeps with the
// key that answered its message. Watched, the script ends before them, where the game still runs
// and the player can take it over.
std::vector<Event> WithoutTheClosingBreak(std::vector<Event> keys) {
    for (size_t last = 1; last <= 2 && last <= keys.size(); ++last) {
        const Event& key = keys[keys.size() - last];
        if (key.kind == Event::Kind::Character && key.byte == kCtrlC) {
            keys.resize(keys.size() - last);
            break;
        }
    }
    return keys;
}

const char* const kHints = "Space pause, Left/Right step, +/- speed, Home End PgUp PgDn seek, Esc play";

}  // namespace

bool ParseRecording(std::string_view text, const Utf8CharToSjis& encode, KeyScript& out, std::string& error) {
    if (!ParseKeyScript(text, true, encode, out, error)) return false;
    if (out.seed) return true;
    error = "it names no seed (the '#seed N' line a recording begins with)";
    return false;
}

WatchingWindow::WatchingWindow(Window& inner, const Clock& clock, std::vector<Event> script, int keysPerSecond)
    : inner_(inner),
      clock_(clock),
      script_(WithoutTheClosingBreak(std::move(script))),
      speed_(std::clamp(keysPerSecond, kMinSpeed, kMaxSpeed)),
      lastTyped_(clock.Milliseconds()) {
    UpdateStatus();
}

void WatchingWindow::Present(const FrameView& frame) {
    if (Seeking()) {
        skippedFrames_ = true;
        return;
    }
    inner_.Present(frame);
}

void WatchingWindow::Beep() {
    if (!Seeking()) inner_.Beep();
}

void WatchingWindow::SetTextInput(bool on, int column, int row) {
    textInput_ = {on, column, row};
    // The input method stays out of the way while the player only watches.
    if (takenOver_) inner_.SetTextInput(on, column, row);
}

bool WatchingWindow::WaitEvent(Event& event, int timeoutMs) {
    const int64_t deadline = timeoutMs < 0 ? -1 : clock_.Milliseconds() + timeoutMs;
    for (;;) {
        if (TakePending(event)) return true;
        const int64_t now = clock_.Milliseconds();
        const int left = deadline < 0 ? -1 : int(std::max<int64_t>(0, deadline - now));
        if (takenOver_) return inner_.WaitEvent(event, left);
        if (typed_ >= script_.size()) {
            TakeOver();
            continue;
        }
        if (Seeking() || (!paused_ && now >= NextKeyDue())) return TypeNext(event);
        if (left == 0) return false;
        int wait = paused_ ? -1 : int(NextKeyDue() - now);
        if (left > 0) wait = wait < 0 ? left : std::min(wait, left);
        Event got;
        if (inner_.WaitEvent(got, wait) && Steer(got) == Outcome::PassOn) {
            event = std::move(got);
            return true;
        }
    }
}

// What goes to the program before anything else: the close that ends a run for a step back, a
// repaint, the player's break.
bool WatchingWindow::TakePending(Event& event) {
    if (restart_) {
        event = Event::Of(Event::Kind::Close);
        return true;
    }
    if (pending_.empty()) return false;
    event = std::move(pending_.front());
    pending_.pop_front();
    return true;
}

bool WatchingWindow::PollEvent(Event& event) {
    if (TakePending(event)) return true;
    if (takenOver_) return inner_.PollEvent(event);
    if (Seeking()) {
        const int64_t now = clock_.Milliseconds();
        if (now - lastPoll_ < kSeekPollMs) return false;
        lastPoll_ = now;
    }
    Event got;
    while (inner_.PollEvent(got)) {
        if (Steer(got) == Outcome::PassOn) {
            event = std::move(got);
            return true;
        }
        if (TakePending(event)) return true;
    }
    return false;
}

bool WatchingWindow::TakeRestart() {
    if (!restart_) return false;
    restart_ = false;
    typed_ = 0;
    // The window still shows the last run's screen: the new run's first frame is drawn whole.
    pending_.assign(1, Event::Of(Event::Kind::Expose));
    textInput_ = {};
    if (seekTo_ == size_t(0)) seekTo_.reset();
    lastTyped_ = clock_.Milliseconds();
    UpdateStatus();
    return true;
}

bool WatchingWindow::TypeNext(Event& event) {
    event = script_[typed_++];
    lastTyped_ = clock_.Milliseconds();
    if (seekTo_ && typed_ >= *seekTo_) {
        // Landed: after frames skipped on the way the screen is drawn again whole.
        seekTo_.reset();
        if (skippedFrames_) pending_.push_back(Event::Of(Event::Kind::Expose));
        skippedFrames_ = false;
    }
    if (!Seeking()) UpdateStatus();
    return true;
}

WatchingWindow::Outcome WatchingWindow::Steer(const Event& event) {
    bool changed = false;
    switch (event.kind) {
        case Event::Kind::Character:
            changed = SteerByCharacter(event.byte);
            break;
        case Event::Kind::Text:
            for (char c : event.text)
                changed = SteerByCharacter(uint8_t(c)) || changed;
            break;
        case Event::Kind::KeyDown:
            changed = SteerByKey(event.key);
            break;
        case Event::Kind::KeyUp:
            break;
        default:
            // Closing, repainting and the focus are the window's business, as in play.
            return Outcome::PassOn;
    }
    if (changed && !takenOver_) UpdateStatus();
    return Outcome::Handled;
}

bool WatchingWindow::SteerByCharacter(uint8_t byte) {
    if (byte >= '0' && byte <= '9') {
        if (typedNumber_.size() < kMaxTypedDigits) typedNumber_ += char(byte);
        return true;
    }
    switch (byte) {
        case ' ':
            SetPaused(!paused_);
            return true;
        case '+':
        case '=':
        case '-':
            ChangeSpeed(byte != '-');
            return true;
        case kEnter:
            if (!typedNumber_.empty()) GoTo(size_t(std::stoul(typedNumber_)));
            return true;
        case kBackspace:
            if (!typedNumber_.empty()) typedNumber_.pop_back();
            return true;
        case kEsc:
            if (typedNumber_.empty()) {
                TakeOver();
            } else {
                typedNumber_.clear();
            }
            return true;
        case kCtrlC:
            TakeOver();
            pending_.push_back(Event::Character(kCtrlC));
            return true;
        default:
            return false;
    }
}

bool WatchingWindow::SteerByKey(Key key) {
    const size_t tenth = std::max<size_t>(1, script_.size() / 10);
    const size_t at = Position();
    switch (key) {
        case Key::Right:
            SetPaused(true);
            GoTo(at + 1);
            return true;
        case Key::Left:
            SetPaused(true);
            if (at > 0) GoTo(at - 1);
            return true;
        case Key::Home:
            GoTo(0);
            return true;
        case Key::End:
            GoTo(script_.empty() ? 0 : script_.size() - 1);
            return true;
        case Key::PageUp:
            GoTo(at > tenth ? at - tenth : 0);
            return true;
        case Key::PageDown:
            GoTo(at + tenth);
            return true;
        default:
            return false;
    }
}

// Forward, the keys are typed at once; back, the game starts again and goes forward from there.
// Going to the end of the script hands the game over there.
void WatchingWindow::GoTo(size_t key) {
    typedNumber_.clear();
    const size_t target = std::min(key, script_.size());
    if (restart_) {
        seekTo_ = target;  // where the next run goes, from its start
        return;
    }
    seekTo_.reset();
    if (target == typed_) return;
    seekTo_ = target;
    if (target < typed_) restart_ = true;
}

void WatchingWindow::SetPaused(bool paused) {
    if (paused_ && !paused) lastTyped_ = clock_.Milliseconds();  // a whole step after the pause
    paused_ = paused;
}

void WatchingWindow::ChangeSpeed(bool faster) {
    speed_ = std::clamp(faster ? speed_ * 2 : speed_ / 2, kMinSpeed, kMaxSpeed);
}

void WatchingWindow::TakeOver() {
    if (takenOver_) return;
    takenOver_ = true;
    seekTo_.reset();
    typedNumber_.clear();
    if (skippedFrames_) pending_.push_front(Event::Of(Event::Kind::Expose));
    skippedFrames_ = false;
    inner_.SetTextInput(textInput_.on, textInput_.column, textInput_.row);
    inner_.ShowStatus({});
}

std::string WatchingWindow::StatusText() const {
    if (takenOver_) return {};
    const std::string of = std::to_string(script_.size());
    std::string state;
    if (Seeking() || restart_) {
        state = "going to key " + std::to_string(seekTo_.value_or(0)) + "/" + of;
    } else if (!typedNumber_.empty()) {
        state = "go to key " + typedNumber_ + "_/" + of + " (Enter)";
    } else {
        state = "watching key " + std::to_string(typed_) + "/" + of +
                (paused_ ? ", paused" : " at " + std::to_string(speed_) + " keys/s");
    }
    return state + " | " + kHints;
}

void WatchingWindow::UpdateStatus() {
    inner_.ShowStatus(StatusText());
}

int PlayWatchedRuns(Platform& platform, ScratchDrives& scratch, WatchingWindow& watcher,
                    const std::function<int(bool again)>& playOnce, std::string& error) {
    for (bool again = false;; again = true) {
        std::filesystem::path root;
        if (!scratch.Fresh(root, error)) return -1;
        DriveMap drives(root);
        platform.drives = &drives;
        const int status = playOnce(again);
        platform.drives = nullptr;
        if (!watcher.TakeRestart()) return status;
    }
}

}  // namespace kestran::platform
