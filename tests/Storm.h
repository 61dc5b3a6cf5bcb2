// Whole passes of the game on random input of every kind, drawn from any
// source of 32-bit numbers: any key pressed, repeated, released or held (Space
// and the bound keys, all among the first 64 scancodes, more often), resizes
// from 0 to 100000 pixels, window events of every kind, now and then a quit or
// a state that is none of the four, and frame times of any size or bit
// pattern. Half the games start near the top score, most of them playing; a
// new one follows every exit. What it breaks, the sanitizers report.
#pragma once

#include <bit>
#include <functional>
#include <optional>

#include "TestGame.h"

inline void storm(long passes, const std::function<std::uint32_t()>& next) {
    std::optional<TestGame> t;
    constexpr std::uint32_t space = SDL_SCANCODE_SPACE, scancodes = SDL_NUM_SCANCODES;
    const auto key = [&] {
        const std::uint32_t range = next() % 3;
        return SDL_Scancode(range ? next() % (range == 1 ? 64 : scancodes) : space);
    };
    const double odd[] = {0, -1.0 / 60, 1e300, -1e300, NAN, INFINITY, -INFINITY, 5e-324};
    for (long n = 0; n < passes; ++n) {
        if (!t) {
            t.emplace(64, 64, next());
            t->game.player.score = next() % 2 ? 999 - next() % 8 : 0;
            GameState = next() % 4 ? State::Playing : State::Start;
        }
        t->keys[key()] = Uint8(next() % 2);
        const std::uint32_t kind = next() % 16, timing = next() % 64;
        SDL_Event e = event(kind < 8 ? Uint32(kind < 6 ? SDL_KEYDOWN : SDL_KEYUP) : 0, key());
        e.key.repeat = Uint8(next() % 2);
        if (kind == 8 || kind == 9) {
            e = event(SDL_WINDOWEVENT);
            e.window.event = Uint8(kind == 8 ? Uint32(SDL_WINDOWEVENT_RESIZED) : next() % 19);
            e.window.data1 = Sint32(next() % 100001), e.window.data2 = Sint32(next() % 100001);
        }
        e.type = kind == 10 && next() % 64 == 0 ? Uint32(SDL_QUIT) : e.type;
        GameState = next() % 1024 == 0 ? State(next() | 4) : GameState;
        const double dt = timing == 0   ? odd[next() % 8]
                          : timing == 1 ? std::bit_cast<double>(std::uint64_t{next()} << 32 | next())
                                        : (next() % 100) * 0.001;
        if (t->pass(dt, e) == PassResult::Exit) {
            t.reset();
        }
    }
}
