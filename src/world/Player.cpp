#include "world/Player.h"

#include <cmath>

#include "world/Globals.h"
#include "world/Tuning.h"

Player::Player(double x, double y, double cellSize, bool glitched, double glitchOffset,
               BlockList& blockList, SDL_Renderer* renderer)
    : x(x), y(y), w(cellSize * playerWidthCells), h(cellSize * playerHeightCells),
      cellSize(cellSize), maxJumps(playerMaxJumps), glitchOffset(glitchOffset), glitched(glitched),
      blockList(blockList), renderer(renderer) {}

void Player::jump() {
    if (isAlive && jumpCount < maxJumps) {
        // A jump in the air restarts the impulse rather than adding to it.
        jumpTimer = jumpDuration;
        jumpCount += 1;
    }
}

void Player::moveX(double delta) {
    if (isAlive) {
        x = x + delta;
    }
}

void Player::moveY(double delta) {
    if (isAlive) {
        y = y + delta;
    }
}

void Player::addScore(std::int32_t delta) {
    // Wrapping unsigned arithmetic turns a step below zero into a huge value,
    // so one upper test drops changes past either end of the range.
    const std::uint32_t next = score + static_cast<std::uint32_t>(delta);
    if (next <= maxScore) {
        score = next;
    }
}

void Player::update() {
    if (!isAlive) {
        return;
    }
    collideWithBlocks();

    // Products are formed in this order on purpose: the last bits decide
    // whether the player touches a block edge in a given pass.
    const double t = jumpTimer;
    y = (gravity * deltaTime -
         std::sin(t * jumpDuration * jumpPhaseScale) * jumpStrength * deltaTime) +
        y;

    // The player drifts with the blocks so that standing on one keeps it
    // there, but not while a jump impulse runs: jumping gains ground.
    bool drifts = true;
    if (t > 0.0) {
        jumpTimer = t - deltaTime;
        drifts = !(jumpTimer > 0.0);
    } else if (t < 0.0) {
        jumpTimer = 0.0;
    }
    if (drifts) {
        x = x + scrollSpeed * -1.0 * deltaTime;
    }
    checkBounds();
}

void Player::collideWithBlocks() {
    const double left = x;
    const double top = y;
    const double right = x + w;
    const double bottom = y + h;
    // Newest block first; only the first one touched counts in a pass. Edges
    // that merely meet count as touching, and touching from the side or from
    // below also puts the player on top.
    for (Block& block : blockList) {
        const bool apart = block.x > right || left > block.x + block.w || block.y > bottom ||
                           top > block.y + block.h;
        if (apart) {
            continue;
        }
        jumpCount = 0;
        if (block.claim()) {
            addScore(1);
        }
        y = block.y - h;
        return;
    }
}

void Player::checkBounds() {
    // The top is open: a player may rise above the window and fall back.
    if (y > 1.0 || x > 1.0 || x + w < 0.0) {
        isAlive = false;
    }
}
