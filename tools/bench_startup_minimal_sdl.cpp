// The yardstick of the start-up benchmark: the least an SDL2 program does to show a frame of the
// game's size - start video, open the window, make a renderer and a streaming texture, upload
// one frame and present it - and then end.
// Usage: bench_startup_minimal_sdl WIDTH HEIGHT   (the window size; the frame is 640 x 432)
#include <SDL.h>

#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 640;
    const int height = argc > 2 ? std::atoi(argv[2]) : 432;
    constexpr int kFrameWidth = 640;
    constexpr int kFrameHeight = 432;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("minimal", 0, 0, width, height, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                                        kFrameWidth, kFrameHeight)
                                    : nullptr;
    if (!texture) return 1;
    std::vector<Uint32> pixels(static_cast<size_t>(kFrameWidth) * kFrameHeight, 0x00FFFFFF);
    SDL_RenderSetLogicalSize(renderer, kFrameWidth, kFrameHeight);
    SDL_UpdateTexture(texture, nullptr, pixels.data(), kFrameWidth * static_cast<int>(sizeof(Uint32)));
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
