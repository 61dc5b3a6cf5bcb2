#include "render/LineArt.h"

#include "render/Pixels.h"
#include "render/WindowSize.h"

void renderLineArtScreen(SDL_Renderer* renderer, Colour background, int columns, int rows,
                         std::span<const GridLine> lines) {
    setDrawColour(renderer, background);
    SDL_RenderClear(renderer);
    setDrawColour(renderer, white);

    // Integer units, as the letters were designed: a window narrower than
    // the grid collapses them onto the centre, which still draws.
    const int cx = windowWidth / 2;
    const int ux = windowWidth / columns;
    const int uy = windowHeight / rows;
    const auto column = [&](double a) { return toPixel(cx + a * ux); };
    const auto row = [&](double b) { return toPixel(b * uy); };
    for (const GridLine& line : lines) {
        SDL_RenderDrawLine(renderer, column(line.a1), row(line.b1), column(line.a2), row(line.b2));
    }
    SDL_RenderPresent(renderer);
}
