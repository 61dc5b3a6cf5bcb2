// A whole game drawing with the real SDL's software renderer into a surface in
// memory, driven pass by pass with events the test pushes, a keyboard-state
// array of its own and a deltaTime it sets. Tests read back exact pixels and
// the text that reached the game's output file.
#pragma once

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <SDL.h>

#include "render/Globals.h"
#include "render/PlayFrame.h"
#include "render/Score.h"
#include "render/Screens.h"
#include "shell/Game.h"
#include "shell/Globals.h"
#include "world/BlockField.h"
#include "world/Globals.h"
#include "world/Random.h"
#include "world/Tuning.h"

using Rgb = std::uint32_t; // 0xRRGGBB
inline constexpr Rgb kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kPink = 0xFF69B4;
inline constexpr Rgb kUntouched = 0x0C2238; // a colour the game never draws

// An ARGB8888 surface and a software renderer on it; its size becomes the window's.
struct Canvas {
    SDL_Surface* surface;
    SDL_Renderer* renderer;

    Canvas(int width, int height, Rgb background = kBlack)
        : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
          renderer(SDL_CreateSoftwareRenderer(surface)) {
        windowWidth = width;
        windowHeight = height;
        rect({0, 0, width, height}, background);
    }
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    // Every pixel, row by row, after what the renderer has queued.
    std::vector<Rgb> pixels() {
        SDL_RenderFlush(renderer);
        const auto* first = static_cast<const Uint32*>(surface->pixels); // 32 bits: no padding
        std::vector<Rgb> all(first, first + surface->w * surface->h);
        std::ranges::for_each(all, [](Rgb& p) { p &= kWhite; });
        return all;
    }
    // Past the renderer: at once, under whatever lines it draws later.
    void rect(SDL_Rect r, Rgb colour) { SDL_FillRect(surface, &r, colour | 0xFF000000); }
    // Lines "a1 b1 a2 b2 ..." on a grid: the point (a, b) is the pixel (x0 + a * ux, b * uy).
    void grid(const std::string& lines, int x0, int ux, int uy, Rgb c = kWhite) {
        SDL_SetRenderDrawColor(renderer, Uint8(c >> 16), Uint8(c >> 8), Uint8(c), 255);
        std::istringstream in(lines);
        for (double a1, b1, a2, b2; in >> a1 >> b1 >> a2 >> b2;) {
            SDL_RenderDrawLine(renderer, x0 + int(a1) * ux, int(b1 * uy), x0 + int(a2) * ux,
                               int(b2 * uy));
        }
    }
};

// Equal pictures, or how many pixels differ and the first of them in both colours.
inline testing::AssertionResult samePicture(const std::vector<Rgb>& got,
                                            const std::vector<Rgb>& want, std::size_t width) {
    if (got.size() != want.size()) {
        return testing::AssertionFailure() << got.size() << " pixels where " << want.size();
    }
    std::size_t differ = 0, first = 0;
    for (std::size_t i = got.size(); i-- > 0;) {
        differ += got[i] != want[i], first = got[i] != want[i] ? i : first;
    }
    if (differ == 0) {
        return testing::AssertionSuccess();
    }
    std::ostringstream where;
    where << differ << " pixels differ, the first at (" << first % width << ", " << first / width
          << "): " << std::hex << std::setfill('0') << std::setw(6) << got[first] << " where "
          << std::setw(6) << want[first] << " was wanted";
    return testing::AssertionFailure() << where.str();
}

inline BlockList none; // for a player that meets no block

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
    std::ifstream printed; // the game's output file, opened apart from the game's own stream

    // Every global back to the start of a run, the generator seeded, no event queued.
    explicit TestGame(int width = 700, int height = 700, std::uint32_t seed = 1)
        : canvas(width, height, kUntouched), game(nullptr, canvas.renderer) {
        // Else SDL queues a sentinel behind each event and the next pushed one comes a pass late.
        SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
        EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        resetProcessState(seed);
        windowWidth = width;
        windowHeight = height;
        game.out = std::tmpfile();
        printed.open("/proc/self/fd/" + std::to_string(fileno(game.out)));
    }
    ~TestGame() { std::fclose(game.out); }

    // Sets deltaTime, queues the event if any, then runs one pass.
    PassResult pass(double dt = 1.0 / 60, SDL_Event e = {}) {
        deltaTime = dt;
        EXPECT_TRUE(e.type == 0 || SDL_PushEvent(&e) == 1) << SDL_GetError();
        return runPass(game, keys.data());
    }
    // What has reached the file since the last call: text left in the
    // stream's buffer would not show on a terminal either.
    std::string output() {
        printed.clear();
        return {std::istreambuf_iterator<char>(printed), {}};
    }
};
