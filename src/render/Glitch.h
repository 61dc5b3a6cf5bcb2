// The glitch look shared by blocks and the player: three additive copies in
// red, green and blue, each displaced by its own random amount every frame.
#pragma once

#include <SDL_render.h>

// One random displacement within -glitchOffset..+glitchOffset. Takes two
// draws from the generator: the first's parity gives the sign, the second
// the size.
double glitchSample(double glitchOffset);

// The exact box of an object as a pink outline: top, bottom, left, right.
void drawHitbox(SDL_Renderer* renderer, double x, double y, double w, double h);
