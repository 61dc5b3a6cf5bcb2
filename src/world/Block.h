// One rectangular platform of the play field: a plain value that the block
// list holds, copies and discards. Its small setters refuse a change that
// would take a value out of range and leave the field as it was.
#pragma once

#include <array>
#include <string>

#include <SDL_rect.h>

struct SDL_Renderer;

struct Block {
    double x; // left edge
    double y; // top edge
    double w;
    double h;
    double glitchOffset; // largest displacement of one glitch copy
    bool glitched = true;
    bool isClaimed = false; // the player has scored for this block
    bool showHitbox = false;
    SDL_Renderer* renderer;                // not owned
    std::array<SDL_Rect, 3> glitchRects{}; // drawing scratch: red, green, blue copy

    Block(double x, double y, double w, double h, double glitchOffset, SDL_Renderer* renderer);

    void changeWidth(double delta);
    void changeHeight(double delta);
    void changeGlitchOffset(double delta);
    void moveX(double delta);
    void moveY(double delta);
    void toggleGlitched() { glitched = !glitched; }
    void toggleHitbox() { showHitbox = !showHitbox; }
    bool claim();
    bool isOffScreen() const { return x + w < 0.0; }

    void render();                // render/BlockRender.cpp
    std::string toString() const; // debug/Dump.cpp

    double glitchedPosition(bool vertical) const;
    double clampedFarEdge(double start, bool vertical) const;
};
