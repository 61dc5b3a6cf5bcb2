// Drawing a block: three additive copies, each displaced while the block is
// glitched, then the exact outline if the hitbox is shown.
#include <algorithm>

#include "render/Colours.h"
#include "render/Glitch.h"
#include "render/Globals.h"
#include "render/Pixels.h"
#include "world/Block.h"

double Block::glitchedPosition(bool vertical) const {
    const double position = vertical ? y : x;
    return glitched ? glitchSample(glitchOffset) + position : position;
}

// Only the far edges are clamped: the floor block must never reach below the
// window, and a block entering from the right must not draw past it.
double Block::clampedFarEdge(double start, bool vertical) const {
    return std::clamp(start + (vertical ? h : w), 0.0, 1.0);
}

void Block::render() {
    constexpr bool horizontal = false;
    constexpr bool vertical = true;
    double gx[3];
    double gy[3];
    for (std::size_t k = 0; k < 3; ++k) {
        gx[k] = glitchedPosition(horizontal);
        gy[k] = glitchedPosition(vertical);
    }

    const double width = windowWidth;
    const double height = windowHeight;
    for (std::size_t k = 0; k < 3; ++k) {
        const double right = clampedFarEdge(gx[k], horizontal);
        const double bottom = clampedFarEdge(gy[k], vertical);
        // The size is the difference of the unrounded edges, truncated once.
        glitchRects[k] = SDL_Rect{toPixel(gx[k] * width), toPixel(gy[k] * height),
                                  toPixel(width * right - gx[k] * width),
                                  toPixel(height * bottom - gy[k] * height)};
    }

    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
    for (std::size_t k = 0; k < 3; ++k) {
        setDrawColour(renderer, glitchCopyColours[k]);
        SDL_RenderFillRect(renderer, &glitchRects[k]);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);

    if (showHitbox) {
        setDrawColour(renderer, hitboxPink);
        drawHitbox(renderer, x, y, w, h);
    }
    setDrawColour(renderer, white);
}
