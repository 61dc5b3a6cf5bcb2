// Whole passes of the game on random input, drawn from any source of 32-bit
// numbers: the input storm takes them from a seeded generator, the fuzzer from
// its bytes. After every pass it checks what must hold whatever the input.
#pragma once

#include <bit>
#include <functional>
#include <optional>

#include "TestGame.h"

struct StormDriver {
    std::optional<TestGame> game;   // a fresh one after every exit
    std::size_t playingPasses = 0;  // of the current game
    std::array<long, 5> passesIn{}; // by state at dispatch; [4] counts invalid states

    // Runs one pass; returns the invariant it broke, or null.
    const char* step(const std::function<std::uint32_t()>& next) {
        if (!game) { // half the games start near the top score, most of them playing
            game.emplace(64, 64, next());
            game->game.player.score = next() % 2 ? 999 - next() % 8 : 0;
            GameState = next() % 4 ? State::Playing : State::Start;
            playingPasses = 0;
        }
        TestGame& t = *game;
        // Space, a bound key (all are among the first 64) or any scancode.
        constexpr std::uint32_t space = SDL_SCANCODE_SPACE, scancodes = SDL_NUM_SCANCODES;
        const auto key = [&] {
            const std::uint32_t range = next() % 3;
            return SDL_Scancode(range ? next() % (range == 1 ? 64 : scancodes) : space);
        };
        t.keys[key()] = Uint8(next() % 2);
        // Key presses, repeated or not, and releases; resizes from 0 to 100000 pixels and
        // window events of every kind; now and then a quit; or no event.
        const std::uint32_t kind = next() % 16;
        SDL_Event e = event(kind < 8 ? Uint32(kind < 6 ? SDL_KEYDOWN : SDL_KEYUP) : 0, key());
        e.key.repeat = Uint8(next() % 2);
        if (kind == 8 || kind == 9) {
            e = event(SDL_WINDOWEVENT);
            e.window.event = Uint8(kind == 8 ? Uint32(SDL_WINDOWEVENT_RESIZED) : next() % 19);
            e.window.data1 = Sint32(next() % 100001), e.window.data2 = Sint32(next() % 100001);
        }
        e.type = kind == 10 && next() % 64 == 0 ? Uint32(SDL_QUIT) : e.type;
        // Mostly a plausible frame time; now and then one no clock gives, or any bit pattern.
        const double odd[] = {0, -1.0 / 60, 1e300, -1e300, NAN, INFINITY, -INFINITY, 5e-324};
        const std::uint32_t timing = next() % 64;
        const double dt = timing == 0 ? odd[next() % 8]
                          : timing == 1
                              ? std::bit_cast<double>(std::uint64_t{next()} << 32 | next())
                              : (next() % 100) * 0.001;
        // Now and then a state that is none of the four.
        GameState = next() % 1024 == 0 ? State(next() | 4) : GameState;
        const State dispatched = GameState;
        passesIn[std::min(std::size_t(dispatched), std::size_t{4})] += 1;
        playingPasses += dispatched == State::Playing;
        const bool exited = t.pass(dt, e) == PassResult::Exit;

        const Player& p = t.game.player;
        const std::pair<bool, const char*> checks[] = {
            {p.score <= 999, "score above 999"},
            {p.jumpCount >= 0 && p.jumpCount <= p.maxJumps, "jumpCount outside 0..maxJumps"},
            {std::ranges::all_of(t.game.blocks, [](auto& b) { return b.w > 0 && b.h > 0; }),
             "a block whose size is not positive"},
            // The floor block, then at most one spawn in every second pass of a run.
            {t.game.blocks.size() <= 1 + (playingPasses + 1) / 2, "more blocks than spawns"},
            {GameState <= State::Exit, "an invalid state outlived its pass"},
            {exited == (dispatched == State::Exit), "an exit not from Exit"}};
        if (exited) {
            game.reset();
        }
        const auto broken = std::ranges::find(checks, false, &std::pair<bool, const char*>::first);
        return broken == std::end(checks) ? nullptr : broken->second;
    }
};
