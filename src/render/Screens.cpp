#include "render/Screens.h"

#include <span>
#include <utility>

#include "render/Colours.h"
#include "render/Globals.h"
#include "render/Pixels.h"
#include "render/PlayFrame.h"

namespace {

// A line of a letter from (x1, y1) to (x2, y2), in grid units from the top
// left corner of the letter's cell.
struct LetterLine {
    double x1;
    double y1;
    double x2;
    double y2;
};
using Letter = std::span<const LetterLine>;

// Every letter two columns wide and three rows high, its lines in drawing
// order. The P's bars reach the middle of its cell and its bowl is a point;
// the R is that P with a leg.
// clang-format off
constexpr LetterLine letterA[] = {{0, 0, 2, 0}, {0, 1.5, 2, 1.5}, {0, 0, 0, 3}, {2, 0, 2, 3}};
constexpr LetterLine letterC[] = {{2, 0, 1, 0}, {1, 0, 0, 1}, {0, 1, 0, 2}, {0, 2, 1, 3}, {1, 3, 2, 3}};
constexpr LetterLine letterD[] = {{0, 0, 0, 3}, {0, 0, 1, 0}, {0, 3, 1, 3}, {1, 0, 2, 1}, {1, 3, 2, 2}, {2, 1, 2, 2}};
constexpr LetterLine letterE[] = {{0, 0, 2, 0}, {0, 1.5, 2, 1.5}, {0, 3, 2, 3}, {0, 0, 0, 3}};
constexpr LetterLine letterI[] = {{2, 0, 0, 0}, {1, 0, 1, 3}, {2, 3, 0, 3}};
constexpr LetterLine letterO[] = {{1, 0, 0, 1}, {1, 0, 2, 1}, {0, 1, 0, 2}, {2, 1, 2, 2}, {1, 3, 0, 2}, {1, 3, 2, 2}};
constexpr LetterLine letterP[] = {{0, 0, 1, 0}, {0, 1.5, 1, 1.5}, {0, 0, 0, 3}, {1, 0, 2, 0.75}, {1, 1.5, 2, 0.75}};
constexpr LetterLine letterR[] = {{0, 0, 1, 0}, {0, 1.5, 1, 1.5}, {0, 0, 0, 3}, {1, 0, 2, 0.75}, {1, 1.5, 2, 0.75},
                                  {1, 1.5, 2, 3}};
constexpr LetterLine letterS[] = {{2, 1, 1, 0}, {1, 0, 0, 1}, {0, 1, 2, 2}, {2, 2, 1, 3}, {1, 3, 0, 2}};
constexpr LetterLine letterU[] = {{0, 0, 0, 2}, {2, 0, 2, 2}, {0, 2, 1, 3}, {2, 2, 1, 3}};
constexpr LetterLine letterY[] = {{0, 0, 1, 1}, {2, 0, 1, 1}, {1, 1, 1, 3}};
// clang-format on

// A letter in its cell: the cell's left edge a column units right of the
// centre, its top b row units below the window's top.
struct PlacedLetter {
    Letter letter;
    int a;
    int b;
};

// 23 columns, not 24: the letters were laid out on that grid.
constexpr int startColumns = 23;
// A wider column than the start screen's: these words are shorter.
constexpr int gameOverColumns = 16;
// PAUSED is 22 columns wide, about as much of its grid as PRESS SPACE takes of its 23.
constexpr int pausedColumns = 28;
constexpr int rows = 9;

// PRESS on rows 1 to 4, SPACE on rows 5 to 8, letters two columns apart.
constexpr PlacedLetter pressSpace[] = {
    {letterP, -9, 1}, {letterR, -5, 1}, {letterE, -1, 1}, {letterS, 3, 1}, {letterS, 7, 1},
    {letterS, -9, 5}, {letterP, -5, 5}, {letterA, -1, 5}, {letterC, 3, 5}, {letterE, 7, 5},
};
// YOU on rows 1 to 4, DIED on rows 5 to 8.
constexpr PlacedLetter youDied[] = {
    {letterY, -5, 1}, {letterO, -1, 1}, {letterU, 3, 1}, {letterD, -7, 5},
    {letterI, -3, 5}, {letterE, 1, 5},  {letterD, 5, 5},
};
// PAUSED across the middle rows, 3 to 6.
constexpr PlacedLetter pausedWord[] = {
    {letterP, -11, 3}, {letterA, -7, 3}, {letterU, -3, 3},
    {letterS, 1, 3},   {letterE, 5, 3},  {letterD, 9, 3},
};

void drawWords(SDL_Renderer* renderer, int columns, std::span<const PlacedLetter> words) {
    setDrawColour(renderer, white);
    // Integer units, as the letters were designed: a window narrower than
    // the grid collapses them onto the centre, which still draws.
    const int cx = windowWidth / 2;
    const int ux = windowWidth / columns;
    const int uy = windowHeight / rows;
    const auto column = [&](double a) { return toPixel(cx + a * ux); };
    const auto row = [&](double b) { return toPixel(b * uy); };
    for (const PlacedLetter& placed : words) {
        for (const LetterLine& line : placed.letter) {
            SDL_RenderDrawLine(renderer, column(placed.a + line.x1), row(placed.b + line.y1),
                               column(placed.a + line.x2), row(placed.b + line.y2));
        }
    }
}

void renderLineArtScreen(SDL_Renderer* renderer, Colour background, int columns,
                         std::span<const PlacedLetter> words) {
    setDrawColour(renderer, background);
    SDL_RenderClear(renderer);
    drawWords(renderer, columns, words);
    SDL_RenderPresent(renderer);
}

} // namespace

void renderStartScreen(SDL_Renderer* renderer) {
    renderLineArtScreen(renderer, black, startColumns, pressSpace);
}

void renderGameOverScreen(SDL_Renderer* renderer) {
    renderLineArtScreen(renderer, red, gameOverColumns, youDied);
}

void renderPausedScreen(BlockList blocks, SDL_Renderer* renderer, Player& player) {
    drawPlayFrame(std::move(blocks), renderer, player);
    // The frame at half its brightness: the word stands out over white
    // blocks, and everything the player must see to go on still shows.
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, black.r, black.g, black.b, pausedShadeAlpha);
    SDL_RenderFillRect(renderer, nullptr);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    drawWords(renderer, pausedColumns, pausedWord);
    SDL_RenderPresent(renderer);
}
