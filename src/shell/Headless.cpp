#include "shell/Headless.h"

#include <SDL.h>

#include "render/Globals.h"
#include "world/Globals.h"

Canvas::Canvas(int width, int height)
    : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
      renderer(surface != nullptr ? SDL_CreateSoftwareRenderer(surface) : nullptr) {
    windowWidth = width;
    windowHeight = height;
}

Canvas::~Canvas() {
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

Headless::Headless(int width, int height, std::uint32_t seed, std::FILE* out)
    : canvas(width, height), game(nullptr, canvas.renderer),
      hasEvents(SDL_InitSubSystem(SDL_INIT_EVENTS) == 0) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    resetProcessState(seed);
    // The reset gave the window its starting size.
    windowWidth = width;
    windowHeight = height;
    game.out = out;
}

Headless::~Headless() {
    if (game.out != nullptr) {
        std::fclose(game.out);
    }
    if (hasEvents) {
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }
}

bool Headless::started() const {
    return canvas.renderer != nullptr && hasEvents && game.out != nullptr;
}

PassResult Headless::pass(double step) {
    // The pass's own timing step overwrites deltaTime at its end.
    deltaTime = step;
    return runPass(game, keys.data());
}
