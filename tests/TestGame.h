// A whole game without a window (shell/Headless.h), driven pass by pass with
// events the test pushes, keys it holds and a deltaTime it sets. Tests read
// back exact pixels and the text that reached the game's output file.
#pragma once

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
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
#include "shell/Headless.h"
#include "world/BlockField.h"
#include "world/Globals.h"
#include "world/Random.h"
#include "world/Tuning.h"

using Rgb = std::uint32_t; // 0xRRGGBB
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kPink = 0xFF69B4;
inline constexpr Rgb kUntouched = 0x0C2238; // a colour the game never draws

constexpr double dt = 0.012; // a pass's deltaTime: a held key then steps 0.004

// Every pixel, row by row, after what the renderer has queued.
inline std::vector<Rgb> pixels(Canvas& canvas) {
    SDL_RenderFlush(canvas.renderer);
    const auto* first = static_cast<const Uint32*>(canvas.surface->pixels); // 32 bits: no padding
    std::vector<Rgb> all(first, first + canvas.surface->w * canvas.surface->h);
    for (Rgb& pixel : all) {
        pixel &= kWhite;
    }
    return all;
}

// Past the renderer: at once, under whatever lines it draws later.
inline void fill(Canvas& canvas, SDL_Rect r, Rgb colour) {
    SDL_FillRect(canvas.surface, &r, colour | 0xFF000000);
}

// Lines "a1 b1 a2 b2 ..." on a grid: the point (a, b) is the pixel (x0 + a * ux, b * uy).
inline void grid(Canvas& canvas, const std::string& lines, int x0, int ux, int uy, Rgb c = kWhite) {
    SDL_SetRenderDrawColor(canvas.renderer, Uint8(c >> 16), Uint8(c >> 8), Uint8(c), 255);
    std::istringstream in(lines);
    for (int a1, b1, a2, b2; in >> a1 >> b1 >> a2 >> b2;) {
        SDL_RenderDrawLine(canvas.renderer, x0 + a1 * ux, b1 * uy, x0 + a2 * ux, b2 * uy);
    }
}

// Equal pictures, or how many pixels differ and the first of them in both colours.
inline testing::AssertionResult samePicture(const std::vector<Rgb>& got,
                                            const std::vector<Rgb>& want, std::size_t width) {
    std::size_t differ = 0;
    std::size_t first = 0;
    // Backwards, so that first ends on the lowest.
    for (std::size_t i = got.size(); i-- > 0;) {
        if (got[i] != want[i]) {
            differ += 1;
            first = i;
        }
    }
    if (differ == 0) {
        return testing::AssertionSuccess();
    }
    char where[200];
    std::snprintf(where, sizeof where,
                  "%zu pixels differ, the first at (%zu, %zu): %06x where %06x was wanted", differ,
                  first % width, first / width, got[first], want[first]);
    return testing::AssertionFailure() << where;
}

// States print as their numbers.
inline void PrintTo(State state, std::ostream* out) {
    *out << std::uint32_t(state);
}

inline BlockList none; // for a player that meets no block

inline SDL_Event event(Uint32 type, SDL_Scancode key = SDL_SCANCODE_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = key;
    return e;
}

inline SDL_Event key(SDL_Scancode scancode) {
    return event(SDL_KEYDOWN, scancode);
}

inline SDL_Event window(SDL_WindowEventID kind, Sint32 width = 0, Sint32 height = 0) {
    return {.window = {SDL_WINDOWEVENT, 0, 0, static_cast<Uint8>(kind), 0, 0, 0, width, height}};
}

// A virtual pad with every button and axis of SDL's layout, in its order, which SDL maps as a
// game controller. Plugged in while it lives, and open, so that SDL reads it; shaken holds the
// low motor's strength of the last rumble asked of it.
struct VirtualPad {
    Uint16 shaken = 0;
    int index;
    SDL_Joystick* joystick;

    VirtualPad() {
        EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        description.naxes = SDL_CONTROLLER_AXIS_MAX;
        description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        description.userdata = &shaken;
        description.Rumble = [](void* shaken, Uint16 low, Uint16) {
            *static_cast<Uint16*>(shaken) = low;
            return 0;
        };
        index = SDL_JoystickAttachVirtualEx(&description);
        joystick = SDL_JoystickOpen(index);
    }
    ~VirtualPad() {
        SDL_JoystickDetachVirtual(index);
        SDL_JoystickClose(joystick);
    }
    void press(int button) { SDL_JoystickSetVirtualButton(joystick, button, 1); }
    void lean(int x) { SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, Sint16(x)); }
};

struct TestGame {
    Headless headless;
    Game& game = headless.game;
    std::array<Uint8, SDL_NUM_SCANCODES>& keys = headless.keys;
    std::ifstream printed; // the game's output file, opened apart from the game's own stream

    explicit TestGame(int width = initialWindowSize, int height = initialWindowSize)
        : headless(width, height, 1, std::tmpfile()) {
        EXPECT_TRUE(headless.started()) << SDL_GetError();
        // Else SDL queues a sentinel behind each event and the next pushed one comes a pass late.
        SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
        fill(headless.canvas, {0, 0, width, height}, kUntouched);
        printed.open("/proc/self/fd/" + std::to_string(fileno(game.out)));
    }

    // Queues the event if any, then runs one pass of step seconds.
    PassResult pass(double step = dt, SDL_Event e = {}) {
        EXPECT_TRUE(e.type == 0 || SDL_PushEvent(&e) == 1) << SDL_GetError();
        return headless.pass(step);
    }
    // The game's picture, every pixel.
    std::vector<Rgb> pixels() { return ::pixels(headless.canvas); }
    // What has reached the file since the last call: text left in the
    // stream's buffer would not show on a terminal either.
    std::string output() {
        printed.clear();
        return {std::istreambuf_iterator<char>(printed), {}};
    }
};
