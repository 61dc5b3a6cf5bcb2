// The screen before a run: PRESS SPACE in white on black.
#pragma once

#include <SDL_render.h>

void renderStartScreen(SDL_Renderer* renderer);
