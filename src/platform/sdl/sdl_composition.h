// The input method's composition, drawn over the frame at the cursor while the player types it.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestran::platform {
class Font;
}

namespace kestran::platform::sdl {

class Composition {
public:
    explicit Composition(const Font* font) : font_(font) {}
    ~Composition() { Release(); }
    Composition(const Composition&) = delete;
    Composition& operator=(const Composition&) = delete;

    // Sets the text being composed (UTF-8; empty when nothing is). True when it changed.
    bool Set(std::string text);
    bool Empty() const { return text_.empty(); }

    // Draws the text at frame pixel (x, y), moved left where it would leave a frame of
    // `frameWidth` pixels; `cellHeight` is its height. False when there is nothing to draw.
    bool Draw(SDL_Renderer* renderer, int x, int y, int frameWidth, int cellHeight);

    // Frees the texture (before the renderer goes).
    void Release();

private:
    void Rasterise(int cellHeight);

    const Font* font_;
    std::string text_;
    std::vector<uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    bool stale_ = false;  // the texture does not show text_ yet
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
};

}  // namespace kestran::platform::sdl
