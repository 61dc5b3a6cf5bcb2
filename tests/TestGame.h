// A whole game drawing into a surface, driven pass by pass with events the
// test pushes, a keyboard-state array of its own and a deltaTime it sets.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "Surface.h"
#include "shell/Game.h"
#include "shell/Globals.h"
#include "world/BlockField.h"
#include "world/Globals.h"
#include "world/Random.h"

// An event of the type; a key event for the key.
inline SDL_Event event(Uint32 type, SDL_Scancode key = SDL_SCANCODE_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = key;
    return e;
}

struct TestGame {
    Canvas canvas;
    Game game;
    std::array<Uint8, SDL_NUM_SCANCODES> keys{}; // non-zero: held down

    // Puts every global of the game back to its start value, seeds the
    // generator and empties the event queue.
    explicit TestGame(int width = 700, int height = 700, std::uint32_t seed = 1)
        : canvas(width, height), game(nullptr, canvas.renderer) {
        // SDL would otherwise queue a sentinel behind each event it delivers,
        // and an event pushed after that pass would reach the game a pass late.
        SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
        if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
            EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        }
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        resetGlobals(seed);
        windowWidth = width;
        windowHeight = height;
        game.out = std::tmpfile();
    }
    ~TestGame() { std::fclose(game.out); }

    // Sets deltaTime, then runs one pass.
    PassResult pass(double dt = 1.0 / 60.0) {
        deltaTime = dt;
        return runPass(game, keys.data());
    }
    void push(SDL_Event e) { EXPECT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    void pressKey(SDL_Scancode key) { push(event(SDL_KEYDOWN, key)); }
    // Everything printed since the last call.
    std::string takeOutput() {
        std::string text(static_cast<std::size_t>(std::ftell(game.out)), '\0');
        std::rewind(game.out);
        text.resize(std::fread(text.data(), 1, text.size(), game.out));
        std::rewind(game.out);
        return text;
    }
};
