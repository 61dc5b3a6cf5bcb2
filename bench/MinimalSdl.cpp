// The least an SDL program does to show a frame: one window, one renderer
// of SDL's own choice, a clear and a present. The game's start-up is
// measured against it. Prints a line after the first present, then waits
// for SDL_QUIT, which SIGTERM brings.
#include <cstdio>

#include <SDL.h>

namespace {

constexpr int windowSize = 700;

} // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("Minimal", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, windowSize,
                         windowSize, SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window != nullptr ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    if (renderer == nullptr) {
        std::fprintf(stderr, "window or renderer: %s\n", SDL_GetError());
        return 1;
    }
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    std::printf("first frame\n");
    std::fflush(stdout);

    SDL_Event event;
    while (SDL_WaitEvent(&event) == 1 && event.type != SDL_QUIT) {
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
