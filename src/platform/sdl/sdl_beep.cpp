#include "platform/sdl/sdl_beep.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace kestran::platform::sdl {

namespace {

constexpr double kToneHz = 880.0;
constexpr double kToneSeconds = 0.1;
constexpr double kVolume = 0.25;

// A sine with a short fade in and out, so the tone does not click.
std::vector<int16_t> Tone(int sampleRate) {
    const auto count = static_cast<std::size_t>(sampleRate * kToneSeconds);
    const auto fade = static_cast<std::size_t>(sampleRate / 200);
    std::vector<int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        double envelope = 1.0;
        if (i < fade) envelope = static_cast<double>(i) / static_cast<double>(fade);
        if (count - i < fade) envelope = static_cast<double>(count - i) / static_cast<double>(fade);
        const double t = static_cast<double>(i) / sampleRate;
        samples[i] =
            static_cast<int16_t>(32767.0 * kVolume * envelope * std::sin(2.0 * std::numbers::pi * kToneHz * t));
    }
    return samples;
}

void TerminalBell() {
    if (isatty(STDERR_FILENO)) {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
}

}  // namespace

Beeper::~Beeper() {
    Close();
}

void Beeper::Close() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (device_ != 0 || failed_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = 0;
    failed_ = false;
    playing_ = false;
}

bool Beeper::Open() {
    if (device_ != 0) return true;
    if (failed_) return false;
    failed_ = true;  // until the device is open
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) return false;
    sampleRate_ = have.freq;
    failed_ = false;
    return true;
}

void Beeper::Beep() {
    if (!Open()) {
        TerminalBell();
        return;
    }
    // A beep while one plays replaces it rather than queueing a long row of tones.
    SDL_ClearQueuedAudio(device_);
    const auto tone = Tone(sampleRate_);
    SDL_QueueAudio(device_, tone.data(), static_cast<Uint32>(tone.size() * sizeof(int16_t)));
    SDL_PauseAudioDevice(device_, 0);
    playing_ = true;
}

bool Beeper::Playing() {
    if (!playing_) return false;
    if (SDL_GetQueuedAudioSize(device_) == 0) {
        SDL_PauseAudioDevice(device_, 1);
        playing_ = false;
    }
    return playing_;
}

}  // namespace kestran::platform::sdl
