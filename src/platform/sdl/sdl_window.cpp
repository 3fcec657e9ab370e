#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/png_writer.h"
#include "platform/sdl/screenshot.h"
#include "platform/sdl/sdl_beep.h"
#include "platform/sdl/sdl_composition.h"
#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/utf8_path.h"

namespace kestran::platform::sdl {

namespace {

// The frame the console composes: 80 x 24 cells of 8 x 18 pixels.
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 18;
constexpr int kFrameWidth = kTextColumns * kCellWidth;
constexpr int kFrameHeight = kTextRows * kCellHeight;
// Room left for the title bar and the frame when the default scale is chosen.
constexpr int kDecorationAllowance = 48;

void SetHints() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
}

// Starts SDL's video. SDL reaches for the desktop's session bus as it starts (for the input
// method and the screen saver); where the environment names no bus, libdbus launches one of its
// own for the display (dbus-launch), which no input method is on and which took a quarter of a
// second before the first frame under Xvfb. So a missing bus is named as none for this process
// and what it starts.
bool StartVideo() {
    SetHints();
    const char* bus = SDL_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!bus || !*bus) SDL_setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

int FittingScale() {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    const int byWidth = usable.w / kFrameWidth;
    const int byHeight = (usable.h - kDecorationAllowance) / kFrameHeight;
    return std::max(1, std::min(byWidth, byHeight));
}

class SdlWindow final : public Window {
public:
    explicit SdlWindow(const SdlWindowOptions& options) : options_(options), composition_(options.font) {}
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool Open(std::string& error);

    void Present(const FrameView& frame) override;
    bool WaitEvent(Event& event, int timeoutMs) override;
    bool PollEvent(Event& event) override;
    void Beep() override { beeper_.Beep(); }
    void SetTextInput(bool on, int column, int row) override;
    void ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) override;
    void ShowStatus(const std::string& lineUtf8) override;

private:
    bool Translate(SDL_Event& sdlEvent, Event& event);
    bool TranslateWindowEvent(const SDL_WindowEvent& windowEvent, Event& event);
    bool TranslateKeyPress(const SDL_KeyboardEvent& key, Event& event);
    bool TextInputFollows() const;

    bool CreateTexture(int width, int height);
    void UploadRows(int top, int bottom);
    void Render();
    void DrawCaret();
    void UpdateInputRect();

    void ToggleFullscreen();
    void CopyText();
    void SaveScreenshot();

    SdlWindowOptions options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool videoStarted_ = false;
    SDL_BlendMode caretBlend_ = SDL_BLENDMODE_NONE;

    int width_ = kFrameWidth;
    int height_ = kFrameHeight;
    int cellWidth_ = kCellWidth;
    int cellHeight_ = kCellHeight;
    std::vector<uint32_t> pixels_;  // the last frame, whole: repaints and screenshots
    std::array<std::string, kTextRows> textRows_;
    int cursorColumn_ = 0;
    int cursorRow_ = 0;
    bool cursorVisible_ = false;
    bool focus_ = false;

    bool textInput_ = false;
    SDL_Rect inputRect_{};
    Composition composition_;
    Beeper beeper_;
    bool closed_ = false;
    bool presented_ = false;
};

SdlWindow::~SdlWindow() {
    composition_.Release();
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    beeper_.Close();
    // The video subsystem may also have been started by the display check: end SDL whole.
    if (videoStarted_) SDL_Quit();
}

bool SdlWindow::Open(std::string& error) {
    if (!StartVideo()) {
        error = SDL_GetError();
        return false;
    }
    videoStarted_ = true;
    const int scale = options_.scale > 0 ? options_.scale : FittingScale();
    Uint32 flags = SDL_WINDOW_RESIZABLE | (options_.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    if (options_.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(options_.title.c_str(), 0, 0, kFrameWidth * scale, kFrameHeight * scale, flags);
    if (!window_) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kFrameWidth / 2, kFrameHeight / 2);
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_ || !CreateTexture(kFrameWidth, kFrameHeight)) {
        error = SDL_GetError();
        return false;
    }
    // The caret inverts what is under it, where the renderer can; else it is drawn white.
    caretBlend_ =
        SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR, SDL_BLENDFACTOR_ZERO, SDL_BLENDOPERATION_ADD,
                                   SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    if (SDL_SetRenderDrawBlendMode(renderer_, caretBlend_) != 0) caretBlend_ = SDL_BLENDMODE_NONE;
    SDL_StopTextInput();
    focus_ = (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
    return true;
}

bool SdlWindow::CreateTexture(int width, int height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!texture_) return false;
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    SDL_RenderSetLogicalSize(renderer_, width, height);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    // Not uploaded here: nothing is shown before the first frame, and a new size's first
    // Present uploads the whole frame.
    return true;
}

void SdlWindow::UploadRows(int top, int bottom) {
    if (!texture_ || top >= bottom) return;
    const SDL_Rect rect{0, top, width_, bottom - top};
    SDL_UpdateTexture(texture_, &rect,
                      pixels_.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(width_),
                      width_ * static_cast<int>(sizeof(uint32_t)));
}

void SdlWindow::Present(const FrameView& frame) {
    if (!renderer_ || !frame.pixels || frame.width <= 0 || frame.height <= 0) return;
    int top = std::clamp(frame.dirtyTop, 0, frame.height);
    int bottom = std::clamp(frame.dirtyBottom, top, frame.height);
    const bool newSize = frame.width != width_ || frame.height != height_;
    if (newSize && !CreateTexture(frame.width, frame.height)) return;
    // A new texture, and the first frame, are uploaded whole.
    if (newSize || !presented_) {
        top = 0;
        bottom = frame.height;
    }
    std::copy_n(frame.pixels + static_cast<std::size_t>(top) * static_cast<std::size_t>(width_),
                static_cast<std::size_t>(bottom - top) * static_cast<std::size_t>(width_),
                pixels_.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(width_));
    UploadRows(top, bottom);
    if (frame.textRows) textRows_ = *frame.textRows;
    if (frame.cellWidth > 0) cellWidth_ = frame.cellWidth;
    if (frame.cellHeight > 0) cellHeight_ = frame.cellHeight;
    cursorColumn_ = frame.cursorColumn;
    cursorRow_ = frame.cursorRow;
    cursorVisible_ = frame.cursorVisible;
    if (textInput_) UpdateInputRect();
    presented_ = true;
    Render();
}

void SdlWindow::Render() {
    // Nothing is shown before the program's first frame.
    if (!renderer_ || !presented_) return;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (texture_) SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    if (!composition_.Draw(renderer_, cursorColumn_ * cellWidth_, cursorRow_ * cellHeight_, width_, cellHeight_)) {
        DrawCaret();
    }
    SDL_RenderPresent(renderer_);
}

void SdlWindow::DrawCaret() {
    if (!cursorVisible_ || !focus_) return;
    const SDL_Rect caret{cursorColumn_ * cellWidth_, cursorRow_ * cellHeight_, 2, cellHeight_};
    SDL_SetRenderDrawBlendMode(renderer_, caretBlend_);
    SDL_SetRenderDrawColor(renderer_, 255, 255, 255, 255);
    SDL_RenderFillRect(renderer_, &caret);
}

bool SdlWindow::WaitEvent(Event& event, int timeoutMs) {
    const Uint64 start = SDL_GetTicks64();
    for (;;) {
        if (closed_) {
            event = Event::Of(Event::Kind::Close);
            return true;
        }
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto elapsed = static_cast<int>(SDL_GetTicks64() - start);
            if (elapsed >= timeoutMs && timeoutMs > 0) return false;
            wait = std::max(0, timeoutMs - elapsed);
        }
        // A tone still playing: wake up to pause the audio device when it is done.
        if (beeper_.Playing()) wait = wait < 0 ? 50 : std::min(wait, 50);
        SDL_Event sdlEvent;
        const int got = wait < 0 ? SDL_WaitEvent(&sdlEvent) : SDL_WaitEventTimeout(&sdlEvent, wait);
        if (got && Translate(sdlEvent, event)) return true;
        if (!got && timeoutMs == 0) return false;
    }
}

bool SdlWindow::PollEvent(Event& event) {
    if (closed_) {
        event = Event::Of(Event::Kind::Close);
        return true;
    }
    beeper_.Playing();
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent)) {
        if (Translate(sdlEvent, event)) return true;
    }
    return false;
}

bool SdlWindow::Translate(SDL_Event& sdlEvent, Event& event) {
    switch (sdlEvent.type) {
        case SDL_QUIT:
            closed_ = true;
            event = Event::Of(Event::Kind::Close);
            return true;
        case SDL_WINDOWEVENT:
            return TranslateWindowEvent(sdlEvent.window, event);
        case SDL_KEYDOWN:
            return TranslateKeyPress(sdlEvent.key, event);
        case SDL_KEYUP:
            if (auto up = TranslateKeyUp(sdlEvent.key.keysym)) {
                event = *up;
                return true;
            }
            return false;
        case SDL_TEXTINPUT:
            if (composition_.Set({})) Render();
            event = Event::Text(sdlEvent.text.text);
            return !event.text.empty();
        case SDL_TEXTEDITING:
            composition_.Set(sdlEvent.edit.text);
            Render();
            return false;
        case SDL_TEXTEDITING_EXT:
            composition_.Set(sdlEvent.editExt.text ? sdlEvent.editExt.text : "");
            SDL_free(sdlEvent.editExt.text);
            Render();
            return false;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            UploadRows(0, height_);
            Render();
            return false;
        default:
            return false;
    }
}

bool SdlWindow::TranslateWindowEvent(const SDL_WindowEvent& windowEvent, Event& event) {
    switch (windowEvent.event) {
        case SDL_WINDOWEVENT_CLOSE:
            closed_ = true;
            event = Event::Of(Event::Kind::Close);
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            focus_ = windowEvent.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            Render();
            event = Event::Of(focus_ ? Event::Kind::FocusGained : Event::Kind::FocusLost);
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            // The whole frame is kept here, so the window repaints itself.
            Render();
            if (textInput_) UpdateInputRect();
            return false;
        default:
            return false;
    }
}

// A key press that SDL also turned into text is delivered as that text, never twice.
bool SdlWindow::TextInputFollows() const {
    SDL_Event next;
    return SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 && next.type == SDL_TEXTINPUT;
}

bool SdlWindow::TranslateKeyPress(const SDL_KeyboardEvent& key, Event& event) {
    switch (CommandOfKey(key.keysym)) {
        case WindowCommand::ToggleFullscreen:
            if (!key.repeat) ToggleFullscreen();
            return false;
        case WindowCommand::CopyText:
            if (!key.repeat) CopyText();
            return false;
        case WindowCommand::SaveScreenshot:
            if (!key.repeat) SaveScreenshot();
            return false;
        case WindowCommand::None:
            break;
    }
    if (key.keysym.sym == SDLK_F1 && !key.repeat) OpenHelpFile(options_.helpFile);
    auto translated = TranslateKeyDown(key.keysym, !TextInputFollows());
    if (!translated) return false;
    event = *translated;
    return true;
}

void SdlWindow::SetTextInput(bool on, int column, int row) {
    textInput_ = on;
    if (on) {
        cursorColumn_ = column;
        cursorRow_ = row;
        UpdateInputRect();
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
        if (composition_.Set({})) Render();
    }
}

// Where the input method puts its candidate window: the cursor cell, in window pixels.
void SdlWindow::UpdateInputRect() {
    SDL_Rect viewport{};
    float scaleX = 1;
    float scaleY = 1;
    SDL_RenderGetViewport(renderer_, &viewport);
    SDL_RenderGetScale(renderer_, &scaleX, &scaleY);
    const SDL_Rect rect{static_cast<int>(static_cast<float>(viewport.x + cursorColumn_ * cellWidth_) * scaleX),
                        static_cast<int>(static_cast<float>(viewport.y + cursorRow_ * cellHeight_) * scaleY),
                        static_cast<int>(static_cast<float>(cellWidth_) * scaleX),
                        static_cast<int>(static_cast<float>(cellHeight_) * scaleY)};
    if (rect.x == inputRect_.x && rect.y == inputRect_.y && rect.w == inputRect_.w && rect.h == inputRect_.h) return;
    inputRect_ = rect;
    SDL_SetTextInputRect(&inputRect_);
}

void SdlWindow::ShowMessage(const std::string& titleUtf8, const std::string& textUtf8) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, titleUtf8.c_str(), textUtf8.c_str(), window_) != 0) {
        std::fprintf(stderr, "%s: %s\n", titleUtf8.c_str(), textUtf8.c_str());
    }
}

// The window's title carries the status after the program's name.
void SdlWindow::ShowStatus(const std::string& lineUtf8) {
    const std::string title = lineUtf8.empty() ? options_.title : options_.title + " - " + lineUtf8;
    SDL_SetWindowTitle(window_, title.c_str());
}

void SdlWindow::ToggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    Render();
}

void SdlWindow::CopyText() {
    if (SDL_SetClipboardText(ScreenText(textRows_).c_str()) != 0) {
        ShowMessage(options_.title + ".EXE",
                    options_.english ? "Cannot open the clipboard" : "クリップボードをオープンできません");
    }
}

void SdlWindow::SaveScreenshot() {
    const auto file = NewScreenshotFile(ScreenshotFolder(), options_.title);
    std::string error = "no file for the screenshot";
    if (!file.empty() && platform::WritePng(Utf8String(file), pixels_.data(), width_, height_, error)) {
        std::fprintf(stderr, "%s: saved %s\n", options_.title.c_str(), Utf8String(file).c_str());
        return;
    }
    std::error_code ignored;
    if (!file.empty()) std::filesystem::remove(file, ignored);  // no half-written picture is left behind
    std::fprintf(stderr, "%s: %s\n", options_.title.c_str(), error.c_str());
}

}  // namespace

bool DisplayAvailable() {
    // Without a display SDL would fall back to an invisible window (offscreen): only a driver
    // chosen by name may do without one.
    if (!DisplayNamed()) return false;
    // Left started: the window opened next takes it over without starting it again.
    return StartVideo();
}

std::unique_ptr<Window> OpenSdlWindow(const SdlWindowOptions& options, std::string& error) {
    auto window = std::make_unique<SdlWindow>(options);
    if (!window->Open(error)) return nullptr;
    return window;
}

bool ShowMessageBox(const std::string& titleUtf8, const std::string& textUtf8) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, titleUtf8.c_str(), textUtf8.c_str(), nullptr) == 0;
}

}  // namespace kestran::platform::sdl
