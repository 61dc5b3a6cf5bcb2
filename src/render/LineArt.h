// Words drawn from straight lines on a letter grid that scales with the
// window: a grid point (a, b) lies a column units right of the centre and b
// row units below the top.
#pragma once

#include <span>

#include <SDL_render.h>

#include "render/Colours.h"

struct GridLine {
    double a1;
    double b1;
    double a2;
    double b2;
};

// Clears the window to the background, then draws the lines in white on a
// grid of windowWidth / columns by windowHeight / rows, and presents.
void renderLineArtScreen(SDL_Renderer* renderer, Colour background, int columns, int rows,
                         std::span<const GridLine> lines);
