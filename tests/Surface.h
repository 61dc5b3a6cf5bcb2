// Drawing into memory with the real SDL: a software renderer on an ARGB8888
// surface, no window and no display. Tests read back exact pixels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#include <SDL.h>

#include "render/Globals.h"

using Rgb = std::uint32_t; // 0xRRGGBB
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kGreen = 0x00FF00;
inline constexpr Rgb kPink = 0xFF69B4;

// A software renderer drawing into a surface of the given size, which also
// becomes the game's window size.
struct Canvas {
    SDL_Surface* surface;
    SDL_Renderer* renderer;

    Canvas(int width, int height)
        : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
          renderer(SDL_CreateSoftwareRenderer(surface)) {
        EXPECT_NE(renderer, nullptr) << SDL_GetError();
        windowWidth = width;
        windowHeight = height;
    }
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Flushes what the renderer has queued, then reads every pixel, row by row.
    std::vector<Rgb> pixels() {
        SDL_RenderFlush(renderer);
        std::vector<Rgb> all(static_cast<std::size_t>(surface->w * surface->h));
        const auto* row = static_cast<const Uint32*>(surface->pixels); // no padding at 32 bits
        std::ranges::transform(row, row + all.size(), all.begin(),
                               [](Rgb p) { return p & kWhite; });
        return all;
    }
    Rgb at(int x, int y) { return pixels().at(static_cast<std::size_t>(y * surface->w + x)); }
    long count(Rgb colour) { return std::ranges::count(pixels(), colour); }
    // Paints the whole surface, past the renderer.
    void fill(Rgb colour) { SDL_FillRect(surface, nullptr, colour | 0xFF000000); }
};
