#include "world/Block.h"

namespace {

// Blocks may stray beyond the window, but only so far: the horizontal band
// reaches a tenth of a window past the left edge so that a block can scroll
// fully out before it is culled. The far tests subtract the size from the new
// near edge, not from the far edge, which lets a block reach a size's width
// beyond the right or bottom edge.
constexpr double leftLimit = -0.1;
constexpr double topLimit = 0.0;
constexpr double farLimit = 1.0;

} // namespace

Block::Block(double x, double y, double w, double h, double glitchOffset, SDL_Renderer* renderer)
    : x(x), y(y), w(w), h(h), glitchOffset(glitchOffset), renderer(renderer) {}

// Every guard is written so that a NaN result fails it and is refused.
void Block::changeWidth(double delta) {
    const double next = w + delta;
    if (next > 0.0) {
        w = next;
    }
}

void Block::changeHeight(double delta) {
    const double next = h + delta;
    if (next > 0.0) {
        h = next;
    }
}

void Block::changeGlitchOffset(double delta) {
    const double next = glitchOffset + delta;
    if (next >= 0.0) {
        glitchOffset = next;
    }
}

void Block::moveX(double delta) {
    const double next = x + delta;
    if (next + w >= leftLimit && next - w <= farLimit) {
        x = next;
    }
}

void Block::moveY(double delta) {
    const double next = y + delta;
    if (next + h >= topLimit && next - h <= farLimit) {
        y = next;
    }
}

bool Block::claim() {
    if (isClaimed) {
        return false;
    }
    isClaimed = true;
    return true;
}
