#include "platform/sdl/sdl_composition.h"

#include <algorithm>

#include "platform/font.h"
#include "platform/window.h"

namespace kestran::platform::sdl {

namespace {

constexpr uint32_t kInk = 0xFFFFFF;
constexpr uint32_t kPaper = 0x203080;
constexpr int kNarrow = 8;

int GlyphWidth(const Glyph* glyph) {
    return glyph ? glyph->width : kNarrow;
}

}  // namespace

bool Composition::Set(std::string text) {
    if (text == text_) return false;
    text_ = std::move(text);
    stale_ = true;
    return true;
}

void Composition::Rasterise(int cellHeight) {
    const auto codes = DecodeUtf8Text(text_);
    width_ = 0;
    for (uint32_t cp : codes)
        width_ += GlyphWidth(font_ ? font_->Find(cp) : nullptr);
    height_ = cellHeight;
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kPaper);
    const int top = std::max(0, (cellHeight - Font::kGlyphHeight) / 2);
    int x = 0;
    for (uint32_t cp : codes) {
        const Glyph* glyph = font_ ? font_->Find(cp) : nullptr;
        const int w = GlyphWidth(glyph);
        for (int row = 0; glyph && row < Font::kGlyphHeight && top + row < height_; ++row) {
            for (int col = 0; col < w; ++col) {
                if ((glyph->rows[static_cast<std::size_t>(row)] >> (15 - col)) & 1u) {
                    pixels_[static_cast<std::size_t>((top + row) * width_ + x + col)] = kInk;
                }
            }
        }
        x += w;
    }
    // Underlined, as compositions are.
    for (int col = 0; col < width_ && height_ > 0; ++col) {
        pixels_[static_cast<std::size_t>((height_ - 1) * width_ + col)] = kInk;
    }
}

bool Composition::Draw(SDL_Renderer* renderer, int x, int y, int frameWidth, int cellHeight) {
    if (text_.empty() || !renderer) return false;
    if (stale_ || height_ != cellHeight) {
        Rasterise(cellHeight);
        if (width_ == 0) return false;
        if (!texture_ || textureWidth_ < width_ || textureHeight_ < height_) {
            Release();
            textureWidth_ = std::max(width_, 256);
            textureHeight_ = height_;
            texture_ = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, textureWidth_,
                                         textureHeight_);
            if (!texture_) return false;
        }
        const SDL_Rect area{0, 0, width_, height_};
        SDL_UpdateTexture(texture_, &area, pixels_.data(), width_ * static_cast<int>(sizeof(uint32_t)));
        stale_ = false;
    }
    if (!texture_) return false;
    const SDL_Rect source{0, 0, width_, height_};
    const SDL_Rect target{std::max(0, std::min(x, frameWidth - width_)), y, width_, height_};
    SDL_RenderCopy(renderer, texture_, &source, &target);
    return true;
}

void Composition::Release() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    textureWidth_ = 0;
    textureHeight_ = 0;
    stale_ = true;
}

}  // namespace kestran::platform::sdl
