// The stage of the in-process benchmarks: a whole game drawing into a
// 700 x 700 surface with SDL's software renderer, no window (a Headless).
// The player stands on the oldest block, at the back of the list, and the
// others hang in the sky out of its way, so every walk over the list goes
// all through it and every pass finds the world as the one before it.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include <SDL.h>

#include "shell/Game.h"
#include "shell/Globals.h"
#include "shell/Headless.h"

struct Scene {
    Headless headless; // no key held
    Game& game = headless.game;
    SDL_Renderer* renderer = headless.canvas.renderer;
    bool forward = false; // the sign of the next step

    explicit Scene(std::size_t blockCount, State state = State::Playing);

    // Sets the next deltaTime. Steps alternate in sign, so two passes cancel
    // and the world stays in place however long a benchmark runs.
    void nextStep();
    // One pass of the main loop, exactly as the game runs it.
    void pass();
    // True while the world still has the shape it was built with.
    bool intact(std::size_t blockCount) const;
};

// The SDL calls of one play frame of the scene and nothing else: the
// rectangles are the ones the game's drawing computed, taken once.
struct FrameCalls {
    std::vector<std::array<SDL_Rect, 3>> blocks;
    std::array<SDL_Rect, 7> player;
    std::int32_t score;

    explicit FrameCalls(Scene& scene);
    void replay(SDL_Renderer* renderer) const;
};

// The least a frame can cost: clear and present.
void bareFrame(SDL_Renderer* renderer);
