// The two screens outside a run, PRESS SPACE and YOU DIED: words drawn from
// white straight lines on a letter grid that scales with the window.
#pragma once

#include <SDL_render.h>

// Before a run: PRESS SPACE on black.
void renderStartScreen(SDL_Renderer* renderer);
// After a death: YOU DIED on red.
void renderGameOverScreen(SDL_Renderer* renderer);
