// The beep: a short tone through SDL audio, opened on the first beep (so a game that never
// beeps never starts the audio subsystem) and paused whenever the tone has played, so an idle
// program has no audio thread running. Without an audio device: the terminal bell.
#pragma once

#include <SDL.h>

namespace kestran::platform::sdl {

class Beeper {
public:
    Beeper() = default;
    ~Beeper();
    Beeper(const Beeper&) = delete;
    Beeper& operator=(const Beeper&) = delete;

    void Beep();
    // Closes the device and ends the audio subsystem (before SDL itself ends).
    void Close();
    // Whether a tone is still playing: the event wait then wakes up to pause the device.
    bool Playing();

private:
    bool Open();

    SDL_AudioDeviceID device_ = 0;
    int sampleRate_ = 0;
    bool failed_ = false;
    bool playing_ = false;
};

}  // namespace kestran::platform::sdl
