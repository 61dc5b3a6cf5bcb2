// The game without a window, for the tests, the benchmarks and the pictures
// tool: SDL's software renderer drawing into a surface in memory, which needs
// no display. The game itself always opens a window.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include <SDL_render.h>
#include <SDL_scancode.h>
#include <SDL_stdinc.h>
#include <SDL_surface.h>

#include "shell/Game.h"

// A 32-bit ARGB surface and a software renderer on it; the window's size
// becomes the surface's. Either is null when SDL could not make it.
struct Canvas {
    SDL_Surface* surface;
    SDL_Renderer* renderer;

    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
};

// A whole game drawing into a canvas, every process-wide value as a process
// starts it and the generator seeded with seed, no event queued. Its keyboard
// is an array of its own: nothing is held until the caller sets a key.
struct Headless {
    Canvas canvas;
    Game game;
    std::array<Uint8, SDL_NUM_SCANCODES> keys{}; // non-zero: held down
    bool hasEvents;                              // SDL's event queue started

    // The game prints into out, which is closed with the Headless.
    Headless(int width, int height, std::uint32_t seed, std::FILE* out);
    ~Headless();
    Headless(const Headless&) = delete;
    Headless& operator=(const Headless&) = delete;

    // False when SDL could make no canvas or event queue (SDL_GetError says
    // why), or out is null.
    bool started() const;
    // One pass of the main loop in which the world moves by step seconds.
    PassResult pass(double step);
};
