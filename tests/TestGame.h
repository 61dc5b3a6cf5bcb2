// A whole game drawing into a surface, driven pass by pass with events the
// test pushes, a keyboard-state array of its own and a deltaTime it sets.
#pragma once

#include <array>
#include <string>

#include "Surface.h"
#include "shell/Game.h"

struct TestGame {
    Canvas canvas;
    Game game;
    std::array<Uint8, SDL_NUM_SCANCODES> keys{}; // non-zero: held down

    // Puts every global of the game back to its start value, seeds the
    // generator with seed and captures the console output.
    explicit TestGame(int width = 700, int height = 700, std::uint32_t seed = 1);
    ~TestGame();
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;

    // Sets deltaTime, then runs one pass.
    PassResult pass(double dt = 1.0 / 60.0);
    void push(const SDL_Event& event);
    void pressKey(SDL_Scancode key); // one key-down event
    void pushResize(int width, int height);
    // Everything printed since the last call.
    std::string takeOutput();
};
