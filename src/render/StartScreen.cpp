#include "render/StartScreen.h"

#include "render/LineArt.h"

namespace {

// 23 columns, not 24: the letters were laid out on that grid.
constexpr int columns = 23;
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

} // namespace

void renderStartScreen(SDL_Renderer* renderer) {
    renderLineArtScreen(renderer, black, columns, rows, pressSpace);
}
