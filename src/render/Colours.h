// The game's palette. Every colour is opaque but the shade of a paused run.
#pragma once

#include <SDL_render.h>

struct Colour {
    Uint8 r;
    Uint8 g;
    Uint8 b;
};

inline constexpr Colour black{0, 0, 0};
inline constexpr Colour white{255, 255, 255};
inline constexpr Colour red{255, 0, 0};
inline constexpr Colour green{0, 255, 0};
inline constexpr Colour blue{0, 0, 255};
inline constexpr Colour hitboxPink{255, 105, 180};

// A paused run's frame is dimmed to half by black laid over it at this alpha.
inline constexpr Uint8 pausedShadeAlpha = 128;

// The three glitch copies, added together: white where they all overlap.
inline constexpr Colour glitchCopyColours[3] = {red, green, blue};

inline void setDrawColour(SDL_Renderer* renderer, Colour colour) {
    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, SDL_ALPHA_OPAQUE);
}
