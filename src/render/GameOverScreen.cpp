#include "render/GameOverScreen.h"

#include "render/LineArt.h"

namespace {

// A wider column than the start screen's: these words are shorter.
constexpr int columns = 16;
constexpr int rows = 9;

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

} // namespace

void renderGameOverScreen(SDL_Renderer* renderer) {
    renderLineArtScreen(renderer, red, columns, rows, youDied);
}
