// The figure the player steers: its box, its jump state, its score and life,
// and the blocks it stands on. There is one for the whole run; it is never
// reset. Operations that move it do nothing once it has died.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <SDL_rect.h>

#include "world/BlockList.h"

struct SDL_Renderer;

struct Player {
    double x; // left edge
    double y; // top edge
    double w; // always 16 cells
    double h; // always 26 cells
    double cellSize;
    double jumpTimer = 0.0; // seconds of jump impulse left
    std::int32_t maxJumps;
    std::int32_t jumpCount = 0; // jumps since the last contact with a block
    std::uint32_t score = 0;    // always 0..999
    double glitchOffset;
    bool glitched;
    bool isAlive = true;
    bool showHitbox = false;
    BlockList& blockList;                  // not owned
    SDL_Renderer* renderer;                // not owned
    std::array<SDL_Rect, 7> figureRects{}; // drawing scratch: the pieces of the figure

    Player(double x, double y, double cellSize, bool glitched, double glitchOffset,
           BlockList& blockList, SDL_Renderer* renderer);

    void jump();
    void moveX(double delta);
    void moveY(double delta);
    void toggleGlitched() { glitched = !glitched; }
    void toggleHitbox() { showHitbox = !showHitbox; }
    void addScore(std::int32_t delta);
    void update();

    void render();                // render/PlayerRender.cpp
    std::string toString() const; // debug/Dump.cpp

  private:
    void collideWithBlocks();
    void checkBounds();
};
