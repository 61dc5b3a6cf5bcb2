// Drawing the player: the figure three times, in additive red, green and
// blue, each copy moved as a whole while the player is glitched.
#include "render/Colours.h"
#include "render/Glitch.h"
#include "render/Globals.h"
#include "render/Pixels.h"
#include "world/Player.h"

namespace {

// The figure in cells, from its top-left corner. It is 15 cells wide, one
// less than the hitbox.
struct Piece {
    int left;
    int top;
    int width;
    int height;
};

constexpr Piece figure[7] = {
    {2, 0, 1, 2},   // head
    {0, 2, 14, 5},  // arms
    {14, 3, 1, 1},  // nose
    {3, 7, 8, 1},   // neck
    {2, 8, 10, 10}, // body
    {4, 18, 2, 6},  // leg
    {4, 24, 7, 2},  // foot
};

// The pieces are laid out from a point seven cells right of the left edge.
constexpr int figureAnchorCells = 7;

} // namespace

void Player::render() {
    const double width = windowWidth;
    const double height = windowHeight;
    const double s = cellSize;

    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
    for (const Colour& colour : glitchCopyColours) {
        double gx = x;
        double dy = 0.0;
        if (glitched) {
            gx = glitchSample(glitchOffset) + x;
            dy = glitchSample(glitchOffset);
        }
        const double gy = dy + y;
        const double anchor = gx + figureAnchorCells * s;
        // Each size is truncated on its own, unlike a block's copies.
        for (std::size_t i = 0; i < figureRects.size(); ++i) {
            const Piece& piece = figure[i];
            figureRects[i] =
                SDL_Rect{toPixel((anchor + (piece.left - figureAnchorCells) * s) * width),
                         toPixel((gy + piece.top * s) * height), toPixel(piece.width * s * width),
                         toPixel(piece.height * s * height)};
        }
        setDrawColour(renderer, colour);
        for (const SDL_Rect& rect : figureRects) {
            SDL_RenderFillRect(renderer, &rect);
        }
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);

    setDrawColour(renderer, hitboxPink);
    if (showHitbox) {
        drawHitbox(renderer, x, y, w, h);
    }
    setDrawColour(renderer, white);
}
