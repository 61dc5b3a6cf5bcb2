#include "render/Screens.h"

#include "render/Colours.h"
#include "render/Globals.h"
#include "render/Pixels.h"

namespace {

// A grid point (a, b) lies a column units right of the centre and b row units
// below the top.
struct GridLine {
    double a1;
    double b1;
    double a2;
    double b2;
};

// 23 columns, not 24: the letters were laid out on that grid.
constexpr int startColumns = 23;
// A wider column than the start screen's: these words are shorter.
constexpr int gameOverColumns = 16;
constexpr int rows = 9;

// PRESS on rows 1 to 4, SPACE on rows 5 to 8; each letter two columns wide.
// clang-format off
constexpr GridLine pressSpace[] = {
    {-9, 1, -8, 1}, {-9, 2.5, -8, 2.5}, {-9, 1, -9, 4}, {-8, 1, -7, 1.75}, {-8, 2.5, -7, 1.75}, // P
    {-5, 1, -4, 1}, {-5, 2.5, -4, 2.5}, {-5, 1, -5, 4}, // R
    {-4, 1, -3, 1.75}, {-4, 2.5, -3, 1.75}, {-4, 2.5, -3, 4},
    {-1, 1, 1, 1}, {-1, 2.5, 1, 2.5}, {-1, 4, 1, 4}, {-1, 1, -1, 4}, // E
    {5, 2, 4, 1}, {4, 1, 3, 2}, {3, 2, 5, 3}, {5, 3, 4, 4}, {4, 4, 3, 3}, // S
    {9, 2, 8, 1}, {8, 1, 7, 2}, {7, 2, 9, 3}, {9, 3, 8, 4}, {8, 4, 7, 3}, // S
    {-7, 6, -8, 5}, {-8, 5, -9, 6}, {-9, 6, -7, 7}, {-7, 7, -8, 8}, {-8, 8, -9, 7}, // S
    {-5, 5, -4, 5}, {-5, 6.5, -4, 6.5}, {-4, 5, -3, 5.75}, {-4, 6.5, -3, 5.75}, {-5, 5, -5, 8}, // P
    {-1, 5, 1, 5}, {-1, 6.5, 1, 6.5}, {-1, 5, -1, 8}, {1, 5, 1, 8}, // A
    {5, 5, 4, 5}, {4, 5, 3, 6}, {3, 6, 3, 7}, {3, 7, 4, 8}, {4, 8, 5, 8}, // C
    {7, 5, 9, 5}, {7, 6.5, 9, 6.5}, {7, 8, 9, 8}, {7, 5, 7, 8}, // E
};
// clang-format on

// YOU on rows 1 to 4, DIED on rows 5 to 8.
// clang-format off
constexpr GridLine youDied[] = {
    {-5, 1, -4, 2}, {-3, 1, -4, 2}, {-4, 2, -4, 4}, // Y
    {0, 1, -1, 2}, {0, 1, 1, 2}, {-1, 2, -1, 3}, {1, 2, 1, 3}, {0, 4, -1, 3}, {0, 4, 1, 3}, // O
    {3, 1, 3, 3}, {5, 1, 5, 3}, {3, 3, 4, 4}, {5, 3, 4, 4}, // U
    {-7, 5, -7, 8}, {-7, 5, -6, 5}, {-7, 8, -6, 8}, // D
    {-6, 5, -5, 6}, {-6, 8, -5, 7}, {-5, 6, -5, 7},
    {-1, 5, -3, 5}, {-2, 5, -2, 8}, {-1, 8, -3, 8}, // I
    {1, 5, 1, 8}, {1, 5, 3, 5}, {1, 8, 3, 8}, {1, 6.5, 3, 6.5}, // E
    {5, 5, 5, 8}, {5, 5, 6, 5}, {5, 8, 6, 8}, // D
    {6, 5, 7, 6}, {6, 8, 7, 7}, {7, 6, 7, 7},
};
// clang-format on

template <std::size_t N>
void renderLineArtScreen(SDL_Renderer* renderer, Colour background, int columns,
                         const GridLine (&lines)[N]) {
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

} // namespace

void renderStartScreen(SDL_Renderer* renderer) {
    renderLineArtScreen(renderer, black, startColumns, pressSpace);
}

void renderGameOverScreen(SDL_Renderer* renderer) {
    renderLineArtScreen(renderer, red, gameOverColumns, youDied);
}
