// Whole passes of the game on random input, drawn from any source of 32-bit
// numbers: the input storm takes them from a seeded generator, the fuzzer from
// its bytes. After every pass it checks what must hold whatever the input.
#pragma once

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>
#include <optional>

#include "TestGame.h"
#include "world/Tuning.h"

using Draw = std::function<std::uint32_t()>;

// Any scancode, one of the first 64 (they hold every bound key), or Space,
// which starts, jumps and leaves.
inline SDL_Scancode stormScancode(const Draw& next) {
    constexpr std::uint32_t space = SDL_SCANCODE_SPACE, everyScancode = SDL_NUM_SCANCODES;
    const std::uint32_t range = next() % 3;
    return static_cast<SDL_Scancode>(range == 2 ? space : next() % (range ? everyScancode : 64));
}

// Key presses (repeated or not) and releases, resizes of 0 to 100000 pixels,
// window events of every kind, now and then a quit, or no event at all.
inline void pushStormEvent(TestGame& t, const Draw& next) {
    constexpr std::uint32_t sizes = 100001, resize = SDL_WINDOWEVENT_RESIZED,
                            windowEvents = SDL_WINDOWEVENT_DISPLAY_CHANGED + 1;
    const std::uint32_t kind = next() % 16;
    SDL_Event e{};
    if (kind < 8) {
        e = event(kind < 6 ? SDL_KEYDOWN : SDL_KEYUP, stormScancode(next));
        e.key.repeat = static_cast<Uint8>(next() % 2);
        t.push(e);
    } else if (kind < 10) {
        e.type = SDL_WINDOWEVENT;
        e.window.event = static_cast<Uint8>(kind == 8 ? resize : next() % windowEvents);
        e.window.data1 = static_cast<Sint32>(next() % sizes);
        e.window.data2 = static_cast<Sint32>(next() % sizes);
        t.push(e);
    } else if (kind == 10 && next() % 64 == 0) {
        t.push(event(SDL_QUIT));
    }
}

// Mostly a plausible frame time; now and then one that no clock should give,
// or any bit pattern at all.
inline double stormDeltaTime(const Draw& next) {
    using L = std::numeric_limits<double>;
    constexpr double odd[] = {0.0,           -1.0 / 60,      1e300,          -1e300, L::quiet_NaN(),
                              L::infinity(), -L::infinity(), L::denorm_min()};
    constexpr double millisecond = 0.001;
    const std::uint32_t kind = next() % 64;
    return kind == 0   ? odd[next() % std::size(odd)]
           : kind == 1 ? std::bit_cast<double>(std::uint64_t{next()} << 32 | next())
                       : (next() % 100) * millisecond;
}

struct StormDriver {
    static constexpr int canvasSize = 64; // small, so that a million frames stay cheap
    std::optional<TestGame> game;         // a fresh one after every exit
    std::size_t playingPasses = 0;        // of the current game
    std::array<long, 5> passesIn{};       // by state at dispatch; [4] counts invalid states

    // Runs one pass; returns the invariant it broke, or null.
    const char* step(const Draw& next) {
        if (!game) {
            game.emplace(canvasSize, canvasSize, next());
            playingPasses = 0;
            // Half the games start near the top score, to press on its bound.
            game->game.player.score = next() % 2 == 0 ? 0 : maxScore - next() % 8;
            GameState = next() % 4 != 0 ? State::Playing : State::Start; // where the work is
        }
        TestGame& t = *game;
        pushStormEvent(t, next);
        t.keys[stormScancode(next)] = static_cast<Uint8>(next() % 2);
        if (next() % 1024 == 0) {
            GameState = static_cast<State>(next() | 4); // never one of the four
        }
        const State dispatched = GameState;
        passesIn[std::min(static_cast<std::size_t>(dispatched), std::size_t{4})] += 1;
        playingPasses += dispatched == State::Playing ? 1 : 0;
        const PassResult result = t.pass(stormDeltaTime(next));

        const Player& p = t.game.player;
        const std::pair<bool, const char*> checks[] = {
            {p.score <= maxScore, "score above 999"},
            {p.jumpCount >= 0 && p.jumpCount <= p.maxJumps, "jumpCount outside 0..maxJumps"},
            {std::ranges::all_of(t.game.blocks, [](auto& b) { return b.w > 0.0 && b.h > 0.0; }),
             "a block whose size is not positive"},
            // The floor block, then at most one spawn in every second pass of a run.
            {t.game.blocks.size() <= 1 + (playingPasses + 1) / 2, "more blocks than spawns"},
            {GameState <= State::Exit, "an invalid state outlived its pass"},
            {(result == PassResult::Exit) == (dispatched == State::Exit), "an exit not from Exit"},
        };
        if (result == PassResult::Exit) {
            game.reset();
        }
        const auto broken = std::ranges::find(checks, false, &std::pair<bool, const char*>::first);
        return broken == std::end(checks) ? nullptr : broken->second;
    }
};
